// The program's code page, GBK (Windows code page 936), and conversions between it and Unicode.
//
// Every text inside the program is a GBK byte string, whatever the user's locale. Unicode
// appears only at the edges: UTF-16 for platform strings and for the window toolkit.
// The conversions never fail: bytes that are not valid GBK decode to U+FFFD one byte at a
// time, and characters that GBK cannot hold encode as '?', as the Windows code-page
// functions do.
#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// GBK bytes to UTF-16. Each byte that does not start a valid GBK character becomes U+FFFD
// and the decoding goes on with the next byte.
std::u16string gbkToUtf16(std::string_view gbk);

// UTF-16 to GBK bytes. Each character that GBK cannot hold, a lone surrogate among them,
// becomes one '?'.
std::string utf16ToGbk(std::u16string_view text);

// UTF-16 to UTF-8, for texts that leave the program in that encoding. A lone surrogate
// becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace quorvel

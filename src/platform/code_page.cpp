// GBK conversions over glibc iconv ("CP936"), with Windows-like replacement of what cannot convert.
#include "platform/code_page.h"

#include "platform/fatal_stop.h"

#include <iconv.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <string>

namespace quorvel {
namespace {

constexpr const char* kGbk = "CP936";
constexpr const char* kUtf16 = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
constexpr char16_t kReplacementCharacter = u'\uFFFD';

// One iconv conversion descriptor, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
    if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
      // glibc carries CP936; a system without it cannot run the program at all.
      stopFatally(std::string("The system cannot convert text from ") + from + " to " + to + ".");
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { iconv_close(descriptor_); }

  // Converts as much of [in, in + inLeft) as it can into [out, out + outLeft), advancing all four.
  // Returns 0, or the errno value that stopped it.
  int convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
    char* input = const_cast<char*>(in);  // iconv's signature predates const.
    std::size_t result = iconv(descriptor_, &input, &inLeft, &out, &outLeft);
    in = input;
    return result == static_cast<std::size_t>(-1) ? errno : 0;
  }

  void resetShiftState() { iconv(descriptor_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t descriptor_;
};

// ASCII is the same in GBK and in Unicode: most texts the program converts (header names and
// values, addresses, form bodies) need no converter at all.
bool isAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

bool isAscii(std::u16string_view units) {
  return std::all_of(units.begin(), units.end(), [](char16_t unit) { return unit < 0x80; });
}

// Opening a converter costs more than converting a page, so each thread keeps the two it
// uses. A converter holds no text between calls: it is reset to its initial state each time.
Converter& converterFromGbk() {
  thread_local Converter converter(kUtf16, kGbk);
  converter.resetShiftState();
  return converter;
}

Converter& converterToGbk() {
  thread_local Converter converter(kGbk, kUtf16);
  converter.resetShiftState();
  return converter;
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string gbkToUtf16(std::string_view gbk) {
  if (isAscii(gbk)) return std::u16string(gbk.begin(), gbk.end());
  Converter& converter = converterFromGbk();
  // Every GBK character, one byte or two, and every replaced byte gives one UTF-16 unit.
  std::u16string text(gbk.size(), u'\0');
  const char* in = gbk.data();
  std::size_t inLeft = gbk.size();
  char* out = reinterpret_cast<char*>(text.data());
  std::size_t outLeft = text.size() * sizeof(char16_t);
  while (inLeft > 0) {
    if (converter.convert(in, inLeft, out, outLeft) == 0) break;
    // EILSEQ (not GBK) or EINVAL (a lead byte cut off at the end): replace one byte, go on.
    std::memcpy(out, &kReplacementCharacter, sizeof kReplacementCharacter);
    out += sizeof kReplacementCharacter;
    outLeft -= sizeof kReplacementCharacter;
    ++in;
    --inLeft;
    converter.resetShiftState();
  }
  text.resize(text.size() - outLeft / sizeof(char16_t));
  return text;
}

std::string utf16ToGbk(std::u16string_view text) {
  if (isAscii(text)) return std::string(text.begin(), text.end());
  Converter& converter = converterToGbk();
  // A GBK character takes at most two bytes, and a character takes at least one UTF-16 unit.
  std::string gbk(text.size() * 2, '\0');
  const char* in = reinterpret_cast<const char*>(text.data());
  std::size_t inLeft = text.size() * sizeof(char16_t);
  char* out = gbk.data();
  std::size_t outLeft = gbk.size();
  while (inLeft > 0) {
    if (converter.convert(in, inLeft, out, outLeft) == 0) break;
    // A character GBK cannot hold, or a broken surrogate: one '?' for the whole character.
    const auto* units = reinterpret_cast<const char16_t*>(in);
    std::size_t unitsLeft = inLeft / sizeof(char16_t);
    std::size_t skipped = unitsLeft >= 2 && isHighSurrogate(units[0]) && isLowSurrogate(units[1]) ? 2 : 1;
    *out++ = '?';
    --outLeft;
    in += skipped * sizeof(char16_t);
    inLeft -= skipped * sizeof(char16_t);
    converter.resetShiftState();
  }
  gbk.resize(gbk.size() - outLeft);
  return gbk;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string utf8;
  utf8.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(text[i]) || isLowSurrogate(text[i])) {
      c = kReplacementCharacter;
    }
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

}  // namespace quorvel

// The boundary between the program's GBK texts and the toolkit's Unicode strings.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quorvel {

// GBK bytes as a QString; bytes that are not valid GBK show as U+FFFD.
QString qStringFromGbk(std::string_view bytes);

// A QString as GBK bytes; characters GBK cannot hold become '?'.
std::string gbkFromQString(const QString& text);

}  // namespace quorvel

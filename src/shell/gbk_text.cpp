// GBK and QString, through the code page's UTF-16 conversions.
#include "shell/gbk_text.h"

#include "platform/code_page.h"

namespace quorvel {

QString qStringFromGbk(std::string_view bytes) {
  std::u16string text = gbkToUtf16(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::string gbkFromQString(const QString& text) {
  return utf16ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

}  // namespace quorvel

#include "app/gbk_qstring.h"

#include <cstddef>

#include "text/code_page.h"

namespace miravel {

QString ToQString(const Text& text) {
  const Bytes utf16 = AnsiToWide(text, kCodePageGbk);
  QString string;
  string.reserve(static_cast<qsizetype>(utf16.size() / 2));
  for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(utf16[i] | (utf16[i + 1] << 8));
    if (unit == 0) break;
    string.append(QChar(unit));
  }
  return string;
}

Text ToText(const QString& string) {
  Bytes utf16;
  utf16.reserve(static_cast<std::size_t>(string.size() + 1) * 2);
  for (const QChar character : string) {
    const char16_t unit = character.unicode();
    utf16.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    utf16.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  utf16.push_back(0);
  utf16.push_back(0);
  return WideToAnsi(utf16, kCodePageGbk);
}

QString Utf8Literal(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace miravel

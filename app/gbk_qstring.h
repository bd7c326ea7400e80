#ifndef MIRAVEL_APP_GBK_QSTRING_H_
#define MIRAVEL_APP_GBK_QSTRING_H_

// The one crossing between the program's GBK text and Qt's strings. A
// character that GBK cannot hold becomes "?" on the way in; a NUL in a
// QString ends the text there, as Text holds no zero byte.

#include <QString>
#include <string_view>

#include "text/value.h"

namespace miravel {

QString ToQString(const Text& text);
Text ToText(const QString& string);

// Control names and other literals of this source, which is UTF-8.
QString Utf8Literal(std::string_view utf8);

}  // namespace miravel

#endif  // MIRAVEL_APP_GBK_QSTRING_H_

#include "app/utf8_edge.h"

#include "text/code_page.h"

namespace miravel {

Text FromUtf8(std::string_view utf8) { return Utf8ToAnsi(Bytes(utf8.begin(), utf8.end())); }

std::string ToUtf8(const Text& text) { return AnsiToUtf8(text); }

}  // namespace miravel

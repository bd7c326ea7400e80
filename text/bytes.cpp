#include <algorithm>
#include <cstddef>

#include "text/primitives.h"

namespace miravel {

Bytes TextToBytes(const Text& text) { return Bytes(text.begin(), text.end()); }

Text BytesToText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), end);
}

Text BlankText(int n) { return n < 1 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

Text RepeatText(int count, const Text& text) {
  Text result;
  if (count < 1 || text.empty()) return result;
  result.reserve(text.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) result.append(text);
  return result;
}

int BytesLength(const Bytes& bytes) { return static_cast<int>(bytes.size()); }

Bytes BytesLeft(const Bytes& bytes, int n) {
  if (n < 1) return {};
  const std::size_t count = std::min(bytes.size(), static_cast<std::size_t>(n));
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes BlankBytes(int n) { return n < 1 ? Bytes() : Bytes(static_cast<std::size_t>(n), 0); }

Text ConcatText(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view part : parts) total += part.size();
  Text result;
  result.reserve(total);
  for (std::string_view part : parts) result.append(part);
  return result;
}

Bytes ConcatBytes(std::initializer_list<Bytes> parts) {
  std::size_t total = 0;
  for (const Bytes& part : parts) total += part.size();
  Bytes result;
  result.reserve(total);
  for (const Bytes& part : parts) result.insert(result.end(), part.begin(), part.end());
  return result;
}

bool TextEquals(const Text& a, const Text& b) { return a == b; }

bool BytesEquals(const Bytes& a, const Bytes& b) { return a == b; }

}  // namespace miravel

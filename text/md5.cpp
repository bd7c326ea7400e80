#include "text/md5.h"

#include <memory>
#include <span>

#include "text/code_page.h"
#include "text/crypto_provider.h"

namespace miravel {
namespace {

constexpr int kMd5Length = 16;
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Each call acquires its own provider; the hash object is declared after
// it, so on every return the hash is destroyed before the provider goes.
Text HashHexOf(std::span<const std::uint8_t> bytes, std::uint32_t algorithm, int digestLength) {
  std::unique_ptr<CryptoProvider> provider = AcquireCryptoProvider(CRYPT_VERIFYCONTEXT);
  if (!provider) provider = AcquireCryptoProvider(0);
  if (!provider) return {};
  const std::unique_ptr<CryptoHash> hash = provider->CreateHash(algorithm);
  if (!hash) return {};
  if (!hash->HashData(bytes.empty() ? nullptr : bytes.data(), bytes.size())) return {};
  const std::size_t capacity = digestLength > 0 ? static_cast<std::size_t>(digestLength) : 0;
  Bytes digest(capacity);
  std::size_t size = capacity;
  if (!hash->GetHashValue(digest.data(), &size) || size > capacity) return {};
  Text hex;
  hex.reserve(2 * size);
  for (std::size_t i = 0; i < size; ++i) {
    hex.push_back(kHexDigits[digest[i] >> 4]);
    hex.push_back(kHexDigits[digest[i] & 0x0F]);
  }
  return hex;
}

// 32 upper-case digits -> lower case and/or digits 9..24.
Text Md5Form(Text hex, bool upperCase, bool shortForm) {
  if (!upperCase) {
    for (char& c : hex) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
  }
  if (shortForm) return hex.size() > 8 ? hex.substr(8, 16) : Text{};
  return hex;
}

std::span<const std::uint8_t> BytesOf(const Text& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

Text HashHex(const Bytes& bytes, std::uint32_t algorithm, int digestLength) {
  return HashHexOf(bytes, algorithm, digestLength);
}

Text BytesMd5(const Bytes& bytes, bool upperCase, bool shortForm) {
  return Md5Form(HashHexOf(bytes, CALG_MD5, kMd5Length), upperCase, shortForm);
}

// The text's own bytes are hashed in place (the terminator is not part of
// them): the same digest as hashing a copy made with TextToBytes.
Text TextMd5(Text& text, bool utf8, bool upperCase, bool shortForm) {
  if (utf8) text = AnsiToUtf8(text);
  return Md5Form(HashHexOf(BytesOf(text), CALG_MD5, kMd5Length), upperCase, shortForm);
}

}  // namespace miravel

// The cryptographic provider on OpenSSL's libcrypto (EVP digests).

#include <openssl/evp.h>

#include "text/crypto_provider.h"
#include "text/md5.h"

namespace miravel {
namespace {

// Owns one EVP digest context.
class EvpDigestContext {
 public:
  EvpDigestContext() : ctx_(EVP_MD_CTX_new()) {}
  ~EvpDigestContext() { EVP_MD_CTX_free(ctx_); }
  EvpDigestContext(const EvpDigestContext&) = delete;
  EvpDigestContext& operator=(const EvpDigestContext&) = delete;
  EvpDigestContext(EvpDigestContext&& other) noexcept : ctx_(other.ctx_) { other.ctx_ = nullptr; }
  EvpDigestContext& operator=(EvpDigestContext&& other) noexcept {
    if (this != &other) {
      EVP_MD_CTX_free(ctx_);
      ctx_ = other.ctx_;
      other.ctx_ = nullptr;
    }
    return *this;
  }

  EVP_MD_CTX* get() const { return ctx_; }

 private:
  EVP_MD_CTX* ctx_;
};

// The digests the platform's full RSA provider offers that we map.
const EVP_MD* DigestFor(std::uint32_t algorithm) {
  switch (algorithm) {
    case CALG_MD5:
      return EVP_md5();
    case CALG_SHA1:
      return EVP_sha1();
    default:
      return nullptr;
  }
}

class EvpHash final : public CryptoHash {
 public:
  explicit EvpHash(EvpDigestContext context) : context_(std::move(context)) {}

  bool HashData(const std::uint8_t* data, std::size_t size) override {
    return size == 0 || EVP_DigestUpdate(context_.get(), data, size) == 1;
  }

  // Reading the value finishes the digest; a second read fails, as it does
  // not on the platform, but nothing here reads twice.
  bool GetHashValue(std::uint8_t* buffer, std::size_t* size) override {
    const int digestSize = EVP_MD_CTX_get_size(context_.get());
    if (finished_ || digestSize <= 0 || static_cast<std::size_t>(digestSize) > *size) return false;
    unsigned int written = 0;
    if (EVP_DigestFinal_ex(context_.get(), buffer, &written) != 1) return false;
    finished_ = true;
    *size = written;
    return true;
  }

 private:
  EvpDigestContext context_;
  bool finished_ = false;
};

class EvpProvider final : public CryptoProvider {
 public:
  std::unique_ptr<CryptoHash> CreateHash(std::uint32_t algorithm) override {
    const EVP_MD* digest = DigestFor(algorithm);
    if (digest == nullptr) return nullptr;
    EvpDigestContext context;
    if (context.get() == nullptr || EVP_DigestInit_ex(context.get(), digest, nullptr) != 1) return nullptr;
    return std::make_unique<EvpHash>(std::move(context));
  }
};

}  // namespace

// OpenSSL needs no provider handle for its built-in digests, so acquiring
// always succeeds whatever the flags.
std::unique_ptr<CryptoProvider> AcquireDefaultCryptoProvider(std::uint32_t /*flags*/) {
  return std::make_unique<EvpProvider>();
}

}  // namespace miravel

// The cryptographic provider on OpenSSL's libcrypto (EVP digests).

#include <openssl/evp.h>

#include <array>
#include <cstring>

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

  // Once the value has been read the hash is finished: more data fails and
  // the value reads the same again, as with the platform's hash objects.
  bool HashData(const std::uint8_t* data, std::size_t size) override {
    if (finishedSize_ != 0) return false;
    return size == 0 || EVP_DigestUpdate(context_.get(), data, size) == 1;
  }

  bool GetHashValue(std::uint8_t* buffer, std::size_t* size) override {
    if (finishedSize_ == 0) {
      unsigned int written = 0;
      if (EVP_DigestFinal_ex(context_.get(), digest_.data(), &written) != 1 || written == 0) return false;
      finishedSize_ = written;
    }
    if (finishedSize_ > *size) return false;
    std::memcpy(buffer, digest_.data(), finishedSize_);
    *size = finishedSize_;
    return true;
  }

 private:
  EvpDigestContext context_;
  std::array<std::uint8_t, EVP_MAX_MD_SIZE> digest_{};
  std::size_t finishedSize_ = 0;
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

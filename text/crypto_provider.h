#ifndef MIRAVEL_TEXT_CRYPTO_PROVIDER_H_
#define MIRAVEL_TEXT_CRYPTO_PROVIDER_H_

// The cryptographic provider that md5.cpp hashes through. Its parts mirror
// the platform's provider calls: acquiring a provider (CryptAcquireContextA),
// creating a hash object (CryptCreateHash), hashing data (CryptHashData),
// reading the value (CryptGetHashParam with HP_HASHVAL); destroying the hash
// and releasing the provider are the destructors. One backend file defines
// AcquireDefaultCryptoProvider (crypto_provider_openssl.cpp on Linux).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace miravel {

inline constexpr std::uint32_t CALG_SHA1 = 0x8004;
inline constexpr std::uint32_t CRYPT_VERIFYCONTEXT = 0xF0000000;

class CryptoHash {
 public:
  virtual ~CryptoHash() = default;
  // Adds `size` bytes (data may be null when size is 0). False on failure.
  virtual bool HashData(const std::uint8_t* data, std::size_t size) = 0;
  // Writes the digest into `buffer` of `*size` bytes and sets `*size` to the
  // digest's length. False (nothing written) when it does not fit or fails.
  virtual bool GetHashValue(std::uint8_t* buffer, std::size_t* size) = 0;
};

class CryptoProvider {
 public:
  virtual ~CryptoProvider() = default;
  // A fresh hash object for the platform's algorithm identifier (CALG_*),
  // or null when the algorithm is not supported or the provider fails.
  virtual std::unique_ptr<CryptoHash> CreateHash(std::uint32_t algorithm) = 0;
};

// A provider for the acquire flags (CRYPT_VERIFYCONTEXT or 0), or null.
using CryptoProviderFactory = std::function<std::unique_ptr<CryptoProvider>(std::uint32_t flags)>;

// The backend's provider.
std::unique_ptr<CryptoProvider> AcquireDefaultCryptoProvider(std::uint32_t flags);

// The provider the hashing routines use: the installed factory's, else the
// backend's.
std::unique_ptr<CryptoProvider> AcquireCryptoProvider(std::uint32_t flags);

// Installs `factory` in place of the backend for as long as the object
// lives (tests use it to fail a step of their choosing). Not thread-safe;
// overrides nest.
class ScopedCryptoProviderOverride {
 public:
  explicit ScopedCryptoProviderOverride(CryptoProviderFactory factory);
  ~ScopedCryptoProviderOverride();
  ScopedCryptoProviderOverride(const ScopedCryptoProviderOverride&) = delete;
  ScopedCryptoProviderOverride& operator=(const ScopedCryptoProviderOverride&) = delete;

 private:
  CryptoProviderFactory previous_;
};

}  // namespace miravel

#endif  // MIRAVEL_TEXT_CRYPTO_PROVIDER_H_

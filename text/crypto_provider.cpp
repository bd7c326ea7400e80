#include "text/crypto_provider.h"

#include <utility>

namespace miravel {
namespace {

CryptoProviderFactory& InstalledFactory() {
  static CryptoProviderFactory factory;
  return factory;
}

}  // namespace

std::unique_ptr<CryptoProvider> AcquireCryptoProvider(std::uint32_t flags) {
  const CryptoProviderFactory& factory = InstalledFactory();
  return factory ? factory(flags) : AcquireDefaultCryptoProvider(flags);
}

ScopedCryptoProviderOverride::ScopedCryptoProviderOverride(CryptoProviderFactory factory)
    : previous_(std::exchange(InstalledFactory(), std::move(factory))) {}

ScopedCryptoProviderOverride::~ScopedCryptoProviderOverride() { InstalledFactory() = std::move(previous_); }

}  // namespace miravel

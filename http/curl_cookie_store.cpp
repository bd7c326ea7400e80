#include "http/curl_cookie_store.h"

#include <memory>
#include <mutex>

namespace miravel {
namespace {

struct CurlGlobal {
  CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
  ~CurlGlobal() { curl_global_cleanup(); }
  CurlGlobal(const CurlGlobal&) = delete;
  CurlGlobal& operator=(const CurlGlobal&) = delete;
};

class CookieShare {
 public:
  CookieShare() : share_(curl_share_init()) {
    if (!share_) return;
    curl_share_setopt(share_.get(), CURLSHOPT_LOCKFUNC, &CookieShare::Lock);
    curl_share_setopt(share_.get(), CURLSHOPT_UNLOCKFUNC, &CookieShare::Unlock);
    curl_share_setopt(share_.get(), CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  CookieShare(const CookieShare&) = delete;
  CookieShare& operator=(const CookieShare&) = delete;

  CURLSH* get() const { return share_.get(); }

 private:
  struct ShareDeleter {
    void operator()(CURLSH* share) const { curl_share_cleanup(share); }
  };

  // One mutex guards every kind of shared data; only cookies are shared.
  static void Lock(CURL*, curl_lock_data, curl_lock_access, void* self) {
    static_cast<CookieShare*>(self)->mutex_.lock();
  }
  static void Unlock(CURL*, curl_lock_data, void* self) {
    static_cast<CookieShare*>(self)->mutex_.unlock();
  }

  std::mutex mutex_;
  std::unique_ptr<CURLSH, ShareDeleter> share_;
};

}  // namespace

void EnsureCurlInitialised() { static CurlGlobal global; }

CURLSH* CurlCookieStore() {
  EnsureCurlInitialised();
  static CookieShare share;
  return share.get();
}

}  // namespace miravel

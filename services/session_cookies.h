#ifndef MIRAVEL_SERVICES_SESSION_COOKIES_H_
#define MIRAVEL_SERVICES_SESSION_COOKIES_H_

#include "text/value.h"

namespace miravel {

// The process-wide cookie string of the gateway session. Empty at start;
// replaced only by WebRequest when the warm-up or a conversion passes it as
// its cookie string. The application shell releases it at exit.
inline Text SessionCookies;

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_SESSION_COOKIES_H_

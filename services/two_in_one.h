#ifndef MIRAVEL_SERVICES_TWO_IN_ONE_H_
#define MIRAVEL_SERVICES_TWO_IN_ONE_H_

#include "text/value.h"

namespace miravel {

inline constexpr char kCouponLandingHost[] = "uland.taobao.com";

// The two-in-one coupon landing link for an item link and a coupon link.
// `couponLink` is replaced by the joined text (item link, CR LF, coupon
// link) that the identifiers were taken from. An identifier that is not
// found is empty inside the link.
Text ComposeTwoInOneLink(const Text& itemLink, Text& couponLink, const Text& pid,
                         bool forcedTargeting);

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_TWO_IN_ONE_H_

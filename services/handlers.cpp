#include "services/handlers.h"

#include "services/share_password.h"
#include "services/two_in_one.h"

namespace miravel {

void OnConvertClicked(WindowSystem& window) {
  const Text address = window.ReadControlText(control::kAddressBox);
  const Text title = window.ReadControlText(control::kTitleBox);
  const Text password = ConvertToSharePassword(address, title);
  window.WriteControlText(control::kResultBox, password);
}

void OnMergeClicked(WindowSystem& window) {
  const Text itemLink = window.ReadControlText(control::kItemLinkBox);
  Text coupon = window.ReadControlText(control::kCouponBox);  // the composer replaces it
  const Text pid = window.ReadControlText(control::kPidBox);
  const bool forcedTargeting = window.ReadCheckBox(control::kForcedTargetingBox);
  const Text link = ComposeTwoInOneLink(itemLink, coupon, pid, forcedTargeting);
  window.WriteControlText(control::kAddressBox, link);
}

}  // namespace miravel

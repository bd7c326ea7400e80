#ifndef MIRAVEL_SERVICES_HANDLERS_H_
#define MIRAVEL_SERVICES_HANDLERS_H_

#include "services/window_system.h"

namespace miravel {

// Convert: address and title boxes -> share password into the result box
// (empty text when there is none).
void OnConvertClicked(WindowSystem& window);

// Merge: item-link, coupon and pid boxes and the forced-targeting box ->
// two-in-one link into the address box.
void OnMergeClicked(WindowSystem& window);

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_HANDLERS_H_

#ifndef MIRAVEL_APP_COPY_HANDLER_H_
#define MIRAVEL_APP_COPY_HANDLER_H_

#include "services/window_system.h"

namespace miravel {

// Copy: the result box's text, empty text included, onto the clipboard.
void OnCopyClicked(WindowSystem& window);

}  // namespace miravel

#endif  // MIRAVEL_APP_COPY_HANDLER_H_

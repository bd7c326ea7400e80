#include "app/copy_handler.h"

namespace miravel {

void OnCopyClicked(WindowSystem& window) {
  const Text result = window.ReadControlText(control::kResultBox);
  window.PutClipboardText(result);
}

}  // namespace miravel

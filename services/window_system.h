#ifndef MIRAVEL_SERVICES_WINDOW_SYSTEM_H_
#define MIRAVEL_SERVICES_WINDOW_SYSTEM_H_

// What the button handlers need of the window: control texts, the check box
// and the clipboard. Texts cross as GBK; the implementation converts to the
// toolkit's strings. Controls are named as in the window's data.

#include <string_view>

#include "text/value.h"

namespace miravel {

namespace control {
inline constexpr std::string_view kTitleBox = "编辑框1";
inline constexpr std::string_view kAddressBox = "编辑框2";
inline constexpr std::string_view kResultBox = "编辑框3";
inline constexpr std::string_view kItemLinkBox = "编辑框4";
inline constexpr std::string_view kCouponBox = "编辑框5";
inline constexpr std::string_view kPidBox = "编辑框6";
inline constexpr std::string_view kForcedTargetingBox = "选择框1";
inline constexpr std::string_view kConvertButton = "按钮1";
inline constexpr std::string_view kCopyButton = "按钮2";
inline constexpr std::string_view kMergeButton = "按钮3";
}  // namespace control

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  virtual Text ReadControlText(std::string_view control) = 0;
  virtual void WriteControlText(std::string_view control, const Text& text) = 0;
  virtual bool ReadCheckBox(std::string_view control) = 0;
  // Replaces the clipboard's content with `text`; nothing happens when the
  // clipboard cannot be opened.
  virtual void PutClipboardText(const Text& text) = 0;
};

}  // namespace miravel

#endif  // MIRAVEL_SERVICES_WINDOW_SYSTEM_H_

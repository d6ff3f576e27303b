#include "app/window_description.h"

#include <string>

namespace quorvant {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr std::int32_t kRuleLength = 53;

}  // namespace

WindowDescription MainWindowDescription(const AppSettings& settings) {
  using enum Control;
  using enum ControlKind;
  const Text rule(std::string(kRuleLength, '_'));
  // clang-format off
  return {
      .caption = "Quorvant",
      .outerSize = {285, 252},
      .clientSize = {279, 220},
      .hyperlinkColours = {.normal = {0, 0, 255}, .hover = {0, 120, 215}, .visited = {128, 0, 0}},
      .controls = {{
          {超级链接框1, kHyperlink, {112, 203, 168, 16}, settings.hyperlinkCaption, true, true, false, kBlack, ControlEvent::kNone, Handler::kNone, settings.homePageUrl},
          {标签2, kLabel, {8, 181, 248, 16}, "格式：《Rt8pWm2XcLs《或￥Hn3yQf7JkEz￥", true, true, false, kBlack, ControlEvent::kNone, Handler::kNone, {}},
          {标签1, kLabel, {8, 163, 264, 16}, "说明：在淘口令框内输入淘口令后点击解密即可", true, true, false, kBlack, ControlEvent::kNone, Handler::kNone, {}},
          {标签_复制提示, kLabel, {7, 132, 160, 16}, "提示：复制成功", false, true, false, kRed, ControlEvent::kNone, Handler::kNone, {}},
          {按钮_复制, kPushButton, {207, 128, 64, 24}, "复制内容", true, true, true, kBlack, ControlEvent::kClicked, Handler::kCopyResult, {}},
          {编辑框_解密后, kMultiLineEdit, {8, 36, 263, 88}, {}, true, true, true, kBlack, ControlEvent::kContentChanged, Handler::kUpdateCopyButton, {}},
          {编辑框_淘口令, kSingleLineEdit, {58, 7, 128, 20}, {}, true, true, true, kBlack, ControlEvent::kNone, Handler::kNone, {}},
          {标签3, kLabel, {8, 4, 80, 24}, "淘口令：", true, true, false, kBlack, ControlEvent::kNone, Handler::kNone, {}},
          {按钮_解密, kPushButton, {192, 6, 80, 21}, "解密", true, true, true, kBlack, ControlEvent::kClicked, Handler::kDecodeShareCode, {}},
          {标签4, kLabel, {0, 146, 296, 13}, rule, true, true, false, kBlack, ControlEvent::kNone, Handler::kNone, {}},
      }},
  };
  // clang-format on
}

const ControlDescription& DescriptionOf(const WindowDescription& window, Control control) {
  return window.controls[static_cast<std::size_t>(control)];
}

}  // namespace quorvant

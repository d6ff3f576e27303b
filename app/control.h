#pragma once

#include <cstddef>

// The controls of the main window and what their events run.
namespace quorvant {

// Every control of the main window, in stacking order from top to bottom.
enum class Control {
  超级链接框1,
  标签2,
  标签1,
  标签_复制提示,
  按钮_复制,
  编辑框_解密后,
  编辑框_淘口令,
  标签3,
  按钮_解密,
  标签4,
};
inline constexpr std::size_t kControlCount = 10;

enum class ControlKind { kHyperlink, kLabel, kPushButton, kSingleLineEdit, kMultiLineEdit };

// The event a control reports: a button's click or an edit box's change of content.
enum class ControlEvent { kNone, kClicked, kContentChanged };

// The handler that a control's event runs.
enum class Handler { kNone, kUpdateCopyButton, kCopyResult, kDecodeShareCode };

}  // namespace quorvant

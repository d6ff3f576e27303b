#pragma once

#include "app/ui.h"

namespace quorvant {

// The clipboard and the shell's "open" action of Windows.
class Win32Desktop final : public Desktop {
 public:
  bool SetClipboardText(const Text& text) override;
  bool OpenUrl(const Text& address) override;
};

}  // namespace quorvant

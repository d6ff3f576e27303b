#pragma once

#include "app/ui.h"

namespace quorvant {

// The clipboard and the default browser, through Qt.
class QtDesktop final : public Desktop {
 public:
  bool SetClipboardText(const Text& text) override;
  bool OpenUrl(const Text& address) override;
};

}  // namespace quorvant

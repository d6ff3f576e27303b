#include "app/app_settings.h"

namespace quorvant {

Text HyperlinkCaption(const Text& siteName, const Text& host) {
  return siteName + "[" + host + "]";
}

}  // namespace quorvant

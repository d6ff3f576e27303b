#pragma once

#include "app/ui.h"
#include "text/text.h"

namespace quorvant {

// Decode button clicked: posts the share code from the code box to the decoding service at
// decodeEndpoint and shows the link it stands for, or the failure text, in the result box, with
// the matching hint. Blocks until the service has answered or the exchange has failed.
void DecodeShareCode(Controls& window, const Text& decodeEndpoint);

}  // namespace quorvant

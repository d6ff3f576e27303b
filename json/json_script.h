#pragma once

#include "text/text.h"

namespace quorvant {

// The script every new engine receives first: the member counter get__count, JSON
// serialisation and checking for engines that lack their own, and the two helper members that
// every object inherits (toJSONString, parseJSON). ASCII, lines ended by CR LF.
const Text& JsonScript();

}  // namespace quorvant

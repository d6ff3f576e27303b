#pragma once

#include <QWidget>

namespace quorvant::bench {

// Once the window has painted for the first time, so that it is on screen and taking input,
// prints the wall-clock time in nanoseconds as "ready_ns=..." and closes the window.
void CloseWhenReady(QWidget& window);

}  // namespace quorvant::bench

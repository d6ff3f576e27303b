#pragma once

#include <windows.h>

// The program's message loop: each message passes the main window's keyboard rules, then the
// dialog manager, then goes to its window.
namespace quorvant::win32 {

void ProcessMessage(MSG& message);
// Runs until the loop is told to quit; returns the quit code.
int RunMessageLoop();
// Processes every message that is already waiting and returns; for tests, which drive the
// window without a loop of their own.
void ProcessWaitingMessages();

}  // namespace quorvant::win32

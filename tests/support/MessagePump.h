// Bounded message loops for window tests: a test lets posted messages,
// timers and paints run without ever waiting for good.
#pragma once

#include <windows.h>
#include <functional>

// Dispatches this thread's messages until fnDone() holds or dwTimeout
// milliseconds have passed; returns the last answer of fnDone(). A WM_QUIT
// ends the pump early and is posted again for the loop it belongs to.
bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD dwTimeout);

// Dispatches this thread's messages for dwMilliseconds.
void PumpMessagesFor(DWORD dwMilliseconds);

// Removes the WM_QUIT waiting for this thread, if any, so that a program's
// end posted by the code under test does not end the next test's loops.
// Returns whether there was one, and its exit code.
bool TakeQuitMessage(int* pnExitCode = nullptr);

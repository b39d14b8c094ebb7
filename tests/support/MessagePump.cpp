#include "tests/support/MessagePump.h"

#include <algorithm>

namespace {

// A condition may turn true without a message (a file appears), so the pump
// looks again at least this often.
const DWORD g_dwPollMilliseconds = 10;

// Returns FALSE when it met WM_QUIT, which it posts again.
BOOL DispatchWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return TRUE;
}

}   // namespace

bool PumpMessagesUntil(const std::function<bool()>& fnDone, DWORD dwTimeout)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        const BOOL bQuit = !DispatchWaitingMessages();
        const bool bDone = fnDone();
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (bDone || bQuit || dwElapsed >= dwTimeout)
            return bDone;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min(dwTimeout - dwElapsed, g_dwPollMilliseconds),
                                  QS_ALLINPUT);
    }
}

void PumpMessagesFor(DWORD dwMilliseconds)
{
    PumpMessagesUntil([] { return false; }, dwMilliseconds);
}

bool TakeQuitMessage(int* pnExitCode)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    if (pnExitCode != nullptr)
        *pnExitCode = static_cast<int>(msg.wParam);
    return true;
}

#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

int g_nTicks = 0;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD)
{
    ++g_nTicks;
}

}   // namespace

TEST(MessagePump, RunsTimersUntilTheConditionHolds)
{
    g_nTicks = 0;
    UINT_PTR idTimer = SetTimer(nullptr, 0, 10, CountTick);

    EXPECT_TRUE(PumpMessagesUntil([] { return g_nTicks >= 3; }, 5000));

    KillTimer(nullptr, idTimer);
}

TEST(MessagePump, GivesUpAtTheTimeout)
{
    const DWORD dwStart = GetTickCount();

    EXPECT_FALSE(PumpMessagesUntil([] { return false; }, 200));

    const DWORD dwElapsed = GetTickCount() - dwStart;
    EXPECT_GE(dwElapsed, 190u);
    EXPECT_LT(dwElapsed, 2000u);
}

TEST(MessagePump, StopsAtQuitAndLeavesItForTheOuterLoop)
{
    PostQuitMessage(7);

    EXPECT_FALSE(PumpMessagesUntil([] { return false; }, 5000));

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

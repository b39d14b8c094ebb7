#include "tests/support/AnsiText.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <windows.h>

TEST(AnsiText, ConvertsToTheCodePageOfTheLocale)
{
    struct Case
    {
        UINT uCodePage;
        const char* pszExpected;
    };
    const Case cases[] = {
        { 950, "\xA4\xA4\xA4\xE5 KDA" },
        { 936, "\xD6\xD0\xCE\xC4 KDA" },
    };
    bool bCodePageSeen = false;
    for (const Case& c : cases) {
        if (c.uCodePage != GetACP())
            continue;
        bCodePageSeen = true;
        EXPECT_EQ(c.pszExpected, AnsiFromUtf8("中文 KDA"));
    }
    EXPECT_TRUE(bCodePageSeen) << "code page " << GetACP();
    EXPECT_EQ("", AnsiFromUtf8(""));
}

TEST(AnsiText, ACharacterTheCodePageLacksFailsTheTest)
{
    // Thai, which neither Chinese code page holds, and a letter that only a
    // best fit would give.
    EXPECT_NONFATAL_FAILURE(AnsiFromUtf8("\xE0\xB8\x81"), "cannot hold");
    EXPECT_NONFATAL_FAILURE(AnsiFromWide(L"\x0103"), "cannot hold");
    EXPECT_EQ("?", AnsiFromUtf8("?")) << "a question mark of its own is no loss";

    // Read from a window as well, where both sides of a comparison would
    // otherwise turn into the same '?'.
    HWND hWnd = CreateWindowExW(0, L"STATIC", L"\x0e01", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    EXPECT_NONFATAL_FAILURE(WindowTextOf(hWnd), "cannot hold");
    SetWindowTextW(hWnd, L"\x4e2d KDA");
    EXPECT_EQ(AnsiFromUtf8("中 KDA"), WindowTextOf(hWnd));
    DestroyWindow(hWnd);
}

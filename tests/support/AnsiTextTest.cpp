#include "tests/support/AnsiText.h"

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

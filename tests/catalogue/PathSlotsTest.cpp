#include "catalogue/PathSlots.h"

#include <gtest/gtest.h>
#include <string>

namespace {

struct SlotCase
{
    const char* pszCmdLine;
    const char* pszSlot0;
    const char* pszSlot1;
    const char* pszSlot2;
};

TEST(PathSlots, CommandLinePiecesFillTheSlots)
{
    const SlotCase cases[] = {
        // Trailing blanks stay; blanks after a comma go.
        { " C:\\content\\ , x , D:\\dest", "C:\\content\\ ", "x ", "D:\\dest" },
        { "C:\\content", "C:\\content", "", "" },
        { "C:\\a,,D:\\dest", "C:\\a", "", "D:\\dest" },
        { "C:\\a,", "C:\\a", "", "" },
        { "C:\\a, ", "C:\\a", "", "" },
        // Quoted paths lose their quotes, trailing blanks aside.
        { "\"C:\\My Content\\\", x, \"D:\\My Dest\" ", "C:\\My Content\\", "x", "D:\\My Dest" },
        { "\"C:\\half quoted, x", "\"C:\\half quoted", "x", "" },
        // Only the first three pieces mean anything.
        { "a,b,c,d,e", "a", "b", "c" },
    };
    for (const SlotCase& c : cases) {
        CString strPaths[PATH_SLOT_COUNT] = { "stale", "stale", "stale" };
        SplitPathSlots(c.pszCmdLine, strPaths);
        EXPECT_STREQ(c.pszSlot0, strPaths[0]) << c.pszCmdLine;
        EXPECT_STREQ(c.pszSlot1, strPaths[1]) << c.pszCmdLine;
        EXPECT_STREQ(c.pszSlot2, strPaths[2]) << c.pszCmdLine;
    }
}

TEST(PathSlots, EmptyCommandLineNamesTheProgramFolder)
{
    char szModule[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szModule, sizeof(szModule));
    std::string strFolder(szModule);
    strFolder.erase(strFolder.rfind('\\') + 1);

    for (const char* pszCmdLine : { "", "   ", "\t" }) {
        CString strPaths[PATH_SLOT_COUNT] = { "stale", "stale", "stale" };
        SplitPathSlots(pszCmdLine, strPaths);
        EXPECT_EQ(strFolder, std::string(strPaths[0]));
        EXPECT_TRUE(strPaths[1].IsEmpty());
        EXPECT_TRUE(strPaths[2].IsEmpty());
    }
}

}   // namespace

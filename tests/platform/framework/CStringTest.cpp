#include "platform/framework/CString.h"
#include "platform/framework/WinApp.h"
#include "tests/support/AnsiText.h"

#include <gtest/gtest.h>
#include <cstring>

namespace {

TEST(CString, LoadStringReadsTheUsersLanguageSetInTheAnsiCodePage)
{
    CString str;
    ASSERT_TRUE(str.LoadString(AFX_IDS_APP_TITLE));
    EXPECT_STREQ("Tarnix", str);

    ASSERT_TRUE(str.LoadString(58041));
    EXPECT_EQ(InUsersSet("Lexora字庫安裝程式", "Lexora字库安装程序"), static_cast<LPCSTR>(str));

    EXPECT_FALSE(str.LoadString(1)) << "no such string";
    EXPECT_TRUE(str.IsEmpty());
}

TEST(CString, FormatTrimAndPieces)
{
    CString str;
    str.Format("%s: %d KB", "Size", 1025);
    EXPECT_STREQ("Size: 1025 KB", str);
    str.Format("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(5000, str.GetLength()) << "no fixed buffer limit";

    CString strBlanks(" \t a b \r\n");
    EXPECT_STREQ("a b \r\n", CString(strBlanks).TrimLeft());
    EXPECT_STREQ(" \t a b", CString(strBlanks).TrimRight());
    EXPECT_STREQ("a b", CString(strBlanks).Trim());

    CString strPath("C:\\dir\\file.kda");
    EXPECT_EQ(6, strPath.ReverseFind('\\'));
    EXPECT_EQ(2, strPath.Find('\\'));
    EXPECT_STREQ("C:\\dir\\", strPath.Left(7));
    EXPECT_STREQ("file", strPath.Mid(7, 4));
    EXPECT_STREQ("", strPath.Mid(40));
}

TEST(CString, BufferAccessForApisThatFillText)
{
    CString str("old");
    char* psz = str.GetBuffer(20);
    strcpy(psz, "filled by an API");
    str.ReleaseBuffer();
    EXPECT_STREQ("filled by an API", str);
    EXPECT_EQ(16, str.GetLength());
    str.GetBuffer(4);
    str.ReleaseBuffer(2);
    EXPECT_STREQ("fi", str);
}

TEST(CString, LowerCasingLeavesDoubleByteCharactersWhole)
{
    // Under code page 950 and 936 the Chinese text survives lower-casing
    // unchanged, while the ASCII letters around it are lowered.
    const std::string strMixed = AnsiFromUtf8("ABC字庫DEF.KDA");
    CString str(strMixed.c_str());
    str.MakeLower();
    EXPECT_EQ(AnsiFromUtf8("abc字庫def.kda"), static_cast<LPCSTR>(str));
}

TEST(CString, LoweringEndsWhereTheSystemEndsTheText)
{
    // A lead byte with a trail byte the code page does not allow comes back
    // as one character, so the text gets shorter. Nothing of the old text
    // may stay behind it: lowering again then changes nothing.
    struct Case
    {
        std::string strText;
        bool bShorter;
    };
    const Case cases[] = {
        { AnsiFromUtf8("ABC字庫DEF"), false },
        { "A\xA6 B", true },
        { std::string("A\xA6\x7F") + "BCD", true },
        { "AB\xA6", false },   // a lead byte at the very end
        { "\xA6 \xA6 XYZ", true },
        { std::string(46, 'T') + "\xA6 ", true },
    };
    for (const Case& c : cases) {
        std::string strLowered = c.strText;
        AfxLowerMultibyte(&strLowered[0]);
        strLowered.resize(std::strlen(strLowered.c_str()));
        EXPECT_EQ(c.bShorter, strLowered.size() < c.strText.size()) << c.strText;
        std::string strAgain = strLowered;
        AfxLowerMultibyte(&strAgain[0]);
        EXPECT_STREQ(strLowered.c_str(), strAgain.c_str()) << c.strText;

        CString str(c.strText.c_str());
        str.MakeLower();
        EXPECT_EQ(strLowered, std::string(str, str.GetLength())) << c.strText;
    }
}

TEST(CString, SearchesStepOverDoubleByteCharacters)
{
    // The trail byte of 許 in code page 950 and of 乗 in 936 equals '\\'.
    const std::string strWide = InUsersSet("許", "乗");
    ASSERT_EQ('\\', strWide[1]);
    const std::string strPath = "C:\\" + strWide + "\\" + strWide;
    CString str(strPath.c_str());
    EXPECT_EQ(5, str.ReverseFind('\\'));
    EXPECT_EQ(2, str.Find('\\'));
    EXPECT_EQ(5, str.Find('\\', 3));
    EXPECT_EQ(-1, CString(strWide.c_str()).Find('\\'));
    EXPECT_EQ(nullptr, AfxFindLastChar(strWide.c_str(), '\\'));
}

TEST(CString, CompareUsesMultibyteCodeValues)
{
    struct Case
    {
        std::string a;
        std::string b;
        int nSign;
    };
    const std::string strZi = AnsiFromUtf8("字");
    const Case cases[] = {
        { "a", "b", -1 },
        { "b", "a", 1 },
        { "abc", "abc", 0 },
        { "ab", "abc", -1 },
        { "A", "a", -1 },
        // A double-byte character compares above every ASCII character.
        { "z", strZi, -1 },
        { strZi + "a", strZi + "b", -1 },
        { strZi, strZi, 0 },
    };
    for (const Case& c : cases) {
        int n = CString(c.a.c_str()).Compare(c.b.c_str());
        EXPECT_EQ(c.nSign, (n > 0) - (n < 0)) << c.a << " vs " << c.b;
    }
}

}   // namespace

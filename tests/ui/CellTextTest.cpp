#include "ui/CellText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string SizeText(UINT nSize)
{
    char szText[CELL_TEXT_SIZE];
    std::memset(szText, 'x', sizeof(szText));
    FormatSizeText(nSize, szText);
    return szText;
}

TEST(CellText, SizeInWholeKilobytesWithDigitGroups)
{
    const struct
    {
        UINT nSize;
        const char* pszText;
    } cases[] = {
        { 0, "" },
        { 1, "1 KB" },
        { 1024, "1 KB" },
        { 1025, "2 KB" },
        { 1024000, "1,000 KB" },
        { 1025024, "1,001 KB" },
        { 1048576, "1,024 KB" },
        { 1049600, "1,025 KB" },
        { 1024000000, "1,000,000 KB" },
        { 102400 * 1024 + 1, "102,401 KB" },
        // Sizes of 2 GiB and more are negative in the entry's signed field.
        { 0x80000000u, "2,097,152 KB" },
        // The last kilobyte below 4 GiB rounds up rather than wrapping to 0.
        { 0xFFFFFFFFu, "4,194,304 KB" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszText, SizeText(c.nSize)) << c.nSize << " bytes";
}

TEST(CellText, ColumnsShowTitleSizeAndFileName)
{
    ContentEntry entry = {};
    std::strcpy(entry.szTitle, "Title");
    std::strcpy(entry.szFileName, "book.kda");
    entry.nSize = -2147483647 - 1;
    char szText[CELL_TEXT_SIZE];
    const char* apszExpected[] = { "Title", "2,097,152 KB", "book.kda" };
    for (int i = 0; i < 3; ++i) {
        FormatCellText(entry, i, szText);
        EXPECT_STREQ(apszExpected[i], szText) << "column " << i;
    }

    // A title filling its whole field has no terminator of its own.
    std::memset(entry.szTitle, 'T', sizeof(entry.szTitle));
    FormatCellText(entry, 0, szText);
    EXPECT_EQ(std::string(64, 'T'), szText);
}

}   // namespace

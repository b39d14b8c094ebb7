// Identifier lists and path levels, as the model measures, walks and cuts
// them.
#include "shell/IdList.h"
#include "shell/PathLevels.h"
#include "shell/ShellContext.h"
#include "tests/support/AnsiText.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A list made of item identifiers with the given data bytes.
std::vector<BYTE> MakeList(const std::vector<std::string>& items)
{
    std::vector<BYTE> bytes;
    for (const std::string& strData : items) {
        const USHORT cb = static_cast<USHORT>(strData.size() + 2);
        bytes.push_back(static_cast<BYTE>(cb & 0xFF));
        bytes.push_back(static_cast<BYTE>(cb >> 8));
        bytes.insert(bytes.end(), strData.begin(), strData.end());
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

LPCITEMIDLIST Pidl(const std::vector<BYTE>& bytes)
{
    return reinterpret_cast<LPCITEMIDLIST>(bytes.data());
}

TEST(IdList, SizeCountAndItems)
{
    const std::vector<BYTE> empty = MakeList({});
    const std::vector<BYTE> three = MakeList({ "ab", "c", "defg" });
    EXPECT_EQ(0u, GetIdListSize(nullptr));
    EXPECT_EQ(2u, GetIdListSize(Pidl(empty)));
    EXPECT_EQ(4u + 3u + 6u + 2u, GetIdListSize(Pidl(three)));
    EXPECT_EQ(0u, GetIdCount(nullptr));
    EXPECT_EQ(0u, GetIdCount(Pidl(empty)));
    EXPECT_EQ(3u, GetIdCount(Pidl(three)));

    EXPECT_EQ(nullptr, GetItemId(nullptr, 0));
    EXPECT_EQ(Pidl(three), GetItemId(Pidl(three), 0));
    EXPECT_EQ(reinterpret_cast<LPCITEMIDLIST>(three.data() + 4 + 3), GetItemId(Pidl(three), 2));
    EXPECT_EQ(reinterpret_cast<LPCITEMIDLIST>(three.data() + 13), GetItemId(Pidl(three), 3)) << "the terminator";
    EXPECT_EQ(nullptr, GetItemId(Pidl(three), 4));
    EXPECT_EQ(Pidl(empty), GetItemId(Pidl(empty), 0));
    EXPECT_EQ(nullptr, GetItemId(Pidl(empty), 1));
}

TEST(IdList, SameItemsAndPrefixes)
{
    const std::vector<BYTE> ab = MakeList({ "ab" });
    const std::vector<BYTE> ac = MakeList({ "ac" });
    const std::vector<BYTE> abc = MakeList({ "abc" });
    const std::vector<BYTE> empty = MakeList({});
    const std::vector<BYTE> emptyItem = MakeList({ "" });
    const std::vector<BYTE> path = MakeList({ "ab", "c", "d" });
    const std::vector<BYTE> pathStart = MakeList({ "ab", "c" });
    const std::vector<BYTE> other = MakeList({ "ab", "x" });
    EXPECT_TRUE(IsSameItemId(Pidl(ab), Pidl(MakeList({ "ab" }))));
    EXPECT_FALSE(IsSameItemId(Pidl(ab), Pidl(ac)));
    EXPECT_FALSE(IsSameItemId(Pidl(ab), Pidl(abc)));
    EXPECT_TRUE(IsSameItemId(Pidl(empty), Pidl(MakeList({}))));
    EXPECT_TRUE(IsSameItemId(Pidl(emptyItem), Pidl(MakeList({ "" }))));

    const struct
    {
        const std::vector<BYTE>* pP;
        const std::vector<BYTE>* pQ;
        bool bPrefix;
    } cases[] = {
        { &empty, &path, true }, { &empty, &empty, true },     { &pathStart, &path, true },
        { &path, &path, true },  { &path, &pathStart, false }, { &other, &path, false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bPrefix, IsIdListPrefix(Pidl(*c.pP), Pidl(*c.pQ)) != FALSE)
            << GetIdCount(Pidl(*c.pP)) << " over " << GetIdCount(Pidl(*c.pQ));
    EXPECT_FALSE(IsIdListPrefix(nullptr, Pidl(path)));
    EXPECT_FALSE(IsIdListPrefix(Pidl(empty), nullptr));
}

SIZE_T AllocatedSize(void* p)
{
    IMalloc* pMalloc = nullptr;
    EXPECT_TRUE(SUCCEEDED(SHGetMalloc(&pMalloc)));
    const SIZE_T cb = pMalloc->GetSize(p);
    pMalloc->Release();
    return cb;
}

TEST(IdList, NameListLayoutAndBlock)
{
    const struct
    {
        const wchar_t* pszName;
        SIZE_T cbBlock;
    } cases[] = { { L"", 8 }, { L"S", 8 }, { L"Storage", 20 }, { L"\u884c\u52d5\u88dd\u7f6e", 16 } };
    for (const auto& c : cases) {
        LPITEMIDLIST pidl = MakeNameIdList(c.pszName);
        ASSERT_NE(nullptr, pidl);
        const size_t cch = wcslen(c.pszName);
        const auto* pBytes = reinterpret_cast<const BYTE*>(pidl);
        EXPECT_EQ(2 * cch + 4, pBytes[0] | (pBytes[1] << 8)) << "size word";
        EXPECT_EQ(0, std::memcmp(pBytes + 2, c.pszName, 2 * cch));
        EXPECT_EQ(std::vector<BYTE>(4, 0), std::vector<BYTE>(pBytes + 2 + 2 * cch, pBytes + 6 + 2 * cch))
            << "the name's zero character, then the list's end";
        EXPECT_EQ(1u, GetIdCount(pidl));
        EXPECT_EQ(2 * cch + 6, GetIdListSize(pidl));
        EXPECT_EQ(c.cbBlock, AllocatedSize(pidl)) << "(2n + 9) rounded down to a multiple of 4";
        g_shellContext.Free(pidl);
    }
}

TEST(PathLevels, PrefixesByLevel)
{
    const std::string strDbcs = InUsersSet("許", "乗");   // trail byte '\\'
    const struct
    {
        std::string strPath;
        int nLevel;
        std::string strPrefix;
        bool bWhole;
        bool bNetwork;
    } cases[] = {
        { "E:\\Books\\Dict", 0, "", true, false },
        { "E:\\Books\\Dict", 1, "E:\\", true, false },
        { "E:\\Books\\Dict", 2, "E:\\Books\\", true, false },
        { "E:\\Books\\Dict", 3, "E:\\Books\\Dict", true, false },
        { "E:\\Books\\Dict", 4, "E:\\Books\\Dict", false, false },
        { "E:/Books/Dict", 2, "E:/Books/", true, false },
        { "E:\\\\Books\\Dict", 1, "E:\\\\", true, false },
        { "E:\\\\Books\\Dict", 2, "E:\\\\Books\\", true, false },
        { "\\\\server\\share\\dir", 1, "\\\\server\\", true, true },
        { "\\\\server\\share\\\\dir", 2, "\\\\server\\share\\\\dir", true, true },
        { "E:\\" + strDbcs + "\\a", 2, "E:\\" + strDbcs + "\\", true, false },
        { "E:\\" + strDbcs + "\\a", 3, "E:\\" + strDbcs + "\\a", true, false },
        { "C:\\" + std::string(300, 'x'), 1, "C:\\", true, false },
        { "C:\\" + std::string(300, 'x'), 2, "", false, false },
    };
    for (const auto& c : cases) {
        char szOut[MAX_PATH] = "junk";
        BOOL bNetwork = FALSE;
        EXPECT_EQ(c.bWhole, CopyPathPrefix(c.strPath.c_str(), szOut, sizeof(szOut), bNetwork, c.nLevel) != FALSE)
            << c.strPath << " level " << c.nLevel;
        EXPECT_EQ(c.strPrefix, szOut) << c.strPath << " level " << c.nLevel;
        EXPECT_EQ(c.bNetwork, bNetwork != FALSE) << c.strPath;
    }
}

TEST(PathLevels, Counts)
{
    const std::string strDbcs = InUsersSet("許", "乗");   // trail byte '\\'
    const struct
    {
        std::string strPath;
        int nLevels;
    } cases[] = {
        { "", 0 },
        { "E:\\", 1 },
        { "E:\\Books\\Dict", 3 },
        { "E:\\Books\\", 2 },
        { "E:\\\\Books", 2 },
        { "E:/Books//Dict/", 3 },
        { "\\\\server\\share", 2 },
        { "\\Books\\Dict", 3 },
        { "E:\\" + strDbcs + "\\" + strDbcs, 3 },
        // However long: every level counts, not only those that fit a path
        // buffer.
        { "C:\\" + std::string(300, 'x') + "\\y", 3 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nLevels, CountPathLevels(c.strPath.c_str())) << c.strPath;
}

TEST(PathLevels, ComparableForms)
{
    const std::string strDbcs = InUsersSet("許", "乗");   // trail byte '\\'
    const struct
    {
        std::string strPath;
        std::string strForm;
    } cases[] = {
        { "", "" },
        { "E:\\Books\\Dict", "E:\\Books\\Dict" },
        { "E:/Books/Dict/", "E:\\Books\\Dict" },
        { "E:\\\\Books\\/Dict\\\\", "E:\\Books\\Dict" },
        { "E:\\", "E:" },
        { "/Books", "\\Books" },
        { "\\", "" },
        { "\\\\server\\\\share\\", "\\\\server\\share" },
        { "E:\\" + strDbcs, "E:\\" + strDbcs },
        { "E:\\" + strDbcs + "/", "E:\\" + strDbcs },
        { "E:\\" + strDbcs + strDbcs + "\\a", "E:\\" + strDbcs + strDbcs + "\\a" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.strForm, ComparablePath(c.strPath.c_str())) << c.strPath;
}

}   // namespace

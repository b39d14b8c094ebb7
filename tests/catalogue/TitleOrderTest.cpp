// The catalogue's order against its rule, written here as plainly as it can
// be: every title lower-cased by the system and cut where the system says
// the text ends, compared character by character by code value (a
// double-byte character counts as lead byte * 256 + trail byte), equal
// titles in scan order, whole records moved.
#include "catalogue/EntrySort.h"
#include "tests/catalogue/CatalogueFixture.h"
#include "tests/catalogue/GeneratedTitles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace {

constexpr unsigned SEED = 12;
constexpr int SORTED_ENTRIES = 3000;
// Crosses the catalogue's growth steps three times.
constexpr int SCANNED_FILES = 170;

std::string ReferenceKey(const ContentEntry& entry)
{
    std::string str(entry.szTitle, strnlen(entry.szTitle, sizeof(entry.szTitle)));
    if (!str.empty())
        str.resize(::CharLowerBuffA(&str[0], static_cast<DWORD>(str.size())));
    return str;
}

std::vector<unsigned> CodeValues(const std::string& str)
{
    std::vector<unsigned> codes;
    for (size_t i = 0; i < str.size(); ++i) {
        unsigned code = static_cast<BYTE>(str[i]);
        if (::IsDBCSLeadByte(static_cast<BYTE>(code)) && i + 1 < str.size())
            code = code * 256 + static_cast<BYTE>(str[++i]);
        codes.push_back(code);
    }
    return codes;
}

// Insertion sort of the positions of entries: a position moves only past
// larger titles, so equal titles keep their order. Returns the records in
// that order.
std::vector<ContentEntry> ReferenceSorted(const std::vector<ContentEntry>& entries)
{
    std::vector<std::vector<unsigned>> keys;
    for (const ContentEntry& entry : entries)
        keys.push_back(CodeValues(ReferenceKey(entry)));
    std::vector<size_t> order;
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t j = order.size();
        order.push_back(i);
        while (j > 0 && keys[i] < keys[order[j - 1]]) {
            order[j] = order[j - 1];
            --j;
        }
        order[j] = i;
    }
    std::vector<ContentEntry> sorted;
    for (size_t i : order)
        sorted.push_back(entries[i]);
    return sorted;
}

std::string Describe(const ContentEntry& entry)
{
    std::string str = entry.szPath;
    str += " [";
    for (size_t i = 0; i < sizeof(entry.szTitle) && entry.szTitle[i] != '\0'; ++i) {
        char szHex[4];
        std::snprintf(szHex, sizeof(szHex), " %02X", static_cast<BYTE>(entry.szTitle[i]));
        str += szHex;
    }
    return str + " ]";
}

// Record for record, every byte; names the first place where they differ.
void ExpectSameRecords(const std::vector<ContentEntry>& expected, const ContentEntry* pActual, int nActual)
{
    ASSERT_EQ(static_cast<int>(expected.size()), nActual);
    for (int i = 0; i < nActual; ++i) {
        ASSERT_EQ(0, std::memcmp(&expected[i], &pActual[i], sizeof(ContentEntry)))
            << "at " << i << " of " << nActual << ": expected " << Describe(expected[i]) << ", found "
            << Describe(pActual[i]);
    }
}

// An entry as the scan makes it from a file with this title: the header's
// 48 bytes, and a NUL after them.
ContentEntry EntryTitled(const std::string& strTitle, int nNumber)
{
    ContentEntry entry = {};
    CopyContentTitle(MakeContentHeader(strTitle), entry.szTitle);
    std::snprintf(entry.szFileName, sizeof(entry.szFileName), "%05d.kda", nNumber);
    std::snprintf(entry.szPath, sizeof(entry.szPath), "C:\\content\\%s", entry.szFileName);
    entry.nSize = 200 + nNumber;
    entry.bSelected = nNumber % 3 == 0;
    return entry;
}

std::vector<ContentEntry> GeneratedEntries(int nCount)
{
    std::vector<ContentEntry> entries;
    for (const std::string& strTitle : GenerateTitles(nCount, SEED))
        entries.push_back(EntryTitled(strTitle, static_cast<int>(entries.size())));
    return entries;
}

// Whether the running code page reads the whole title as valid double-byte
// text with at least one double-byte character.
bool IsDoubleByteText(const char* pszTitle)
{
    const int cch = static_cast<int>(std::strlen(pszTitle));
    const bool bHasLead = std::any_of(pszTitle, pszTitle + cch, [](char ch) { return ::IsDBCSLeadByte(ch); });
    return bHasLead && ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pszTitle, cch, nullptr, 0) > 0;
}

TEST(TitleOrder, GeneratedTitlesHoldEveryKindTheOrderMustHandle)
{
    SCOPED_TRACE("code page " + std::to_string(::GetACP()));
    int nShortened = 0;
    int nFullField = 0;
    int nDoubleByteText = 0;
    int nHighSingleByte = 0;
    int nCaseTwins = 0;
    std::set<std::string> titles;
    std::set<std::string> keys;
    for (const ContentEntry& entry : GeneratedEntries(SORTED_ENTRIES)) {
        const std::string strKey = ReferenceKey(entry);
        nShortened += strKey.size() < std::strlen(entry.szTitle);
        nFullField += std::strlen(entry.szTitle) == 48;
        nDoubleByteText += IsDoubleByteText(entry.szTitle);
        nHighSingleByte += std::strchr(entry.szTitle, '\xFF') != nullptr;
        const bool bNewTitle = titles.insert(entry.szTitle).second;
        const bool bNewKey = keys.insert(strKey).second;
        nCaseTwins += bNewTitle && !bNewKey;
    }
    EXPECT_GT(nShortened, 100) << "broken pairs the system shortens";
    EXPECT_GT(nFullField, 100) << "titles filling the field";
    EXPECT_GT(nDoubleByteText, 500) << "valid double-byte text";
    EXPECT_GT(nHighSingleByte, 100) << "single bytes above lead bytes";
    EXPECT_GT(nCaseTwins, 100) << "new titles equal to earlier ones but for case";
    EXPECT_LT(keys.size(), titles.size());
}

TEST(TitleOrder, SortGivesTheReferenceOrderRecordForRecord)
{
    SCOPED_TRACE("code page " + std::to_string(::GetACP()));
    const std::vector<ContentEntry> generated = GeneratedEntries(SORTED_ENTRIES);
    // Short lists and lengths just off a power of two test the merge's
    // uneven runs.
    for (int nEntries : { 0, 1, 2, 3, 7, 64, 65, 1000, SORTED_ENTRIES }) {
        SCOPED_TRACE(nEntries);
        std::vector<ContentEntry> entries(generated.begin(), generated.begin() + nEntries);
        std::vector<TitleKey> keys(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            MakeTitleKey(entries[i], keys[i]);

        const std::vector<ContentEntry> expected = ReferenceSorted(entries);
        ASSERT_TRUE(SortEntriesByTitle(entries.data(), keys.data(), nEntries));
        ExpectSameRecords(expected, entries.data(), nEntries);
    }
}

// The files of one folder in the order the system lists them, which is the
// scan's order, as the scan makes its entries.
std::vector<ContentEntry> ListedEntries(const std::string& strFolder)
{
    std::vector<ContentEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        ContentEntry entry = {};
        std::strcpy(entry.szFileName, found.cFileName);
        std::snprintf(entry.szPath, sizeof(entry.szPath), "%s\\%s", strFolder.c_str(), found.cFileName);
        entry.nSize = static_cast<int>(found.nFileSizeLow);
        FILE* pFile = std::fopen(entry.szPath, "rb");
        ContentHeader header = {};
        if (pFile != nullptr) {
            ReadContentHeader(pFile, &header);
            std::fclose(pFile);
        }
        CopyContentTitle(header, entry.szTitle);
        entries.push_back(entry);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return entries;
}

TEST_F(CatalogueTest, ScanListsGeneratedTitlesInTheReferenceOrder)
{
    SCOPED_TRACE("code page " + std::to_string(::GetACP()));
    const std::vector<std::string> titles = GenerateTitles(SCANNED_FILES, SEED + 1);
    for (size_t i = 0; i < titles.size(); ++i) {
        char szName[16];
        std::snprintf(szName, sizeof(szName), "t%03d.kda", static_cast<int>(i));
        AddContent(szName, titles[i], 200 + i);
    }

    ASSERT_TRUE(Scan());
    ExpectSameRecords(ReferenceSorted(ListedEntries(m_folder.Path())), m_doc.m_pEntries, m_doc.m_nEntries);
}

}   // namespace

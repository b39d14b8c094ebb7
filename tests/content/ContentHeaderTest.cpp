#include "content/ContentHeader.h"

#include "tests/support/AnsiText.h"
#include "tests/support/ContentFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

using namespace std::string_literals;

namespace {

struct HeaderRead
{
    BOOL bResult;
    ContentHeader header;
    long lPosition;   // of the file after the read
};

struct FileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

class ContentHeaderFile : public testing::Test
{
protected:
    // Puts strBytes in a file and reads its header with the file at
    // lStartPosition, into a buffer that holds garbage beforehand.
    HeaderRead Read(const std::string& strBytes, long lStartPosition = 0)
    {
        const std::string strPath = m_folder.MakeFile("book" + std::to_string(++m_nFiles) + ".kda", strBytes);
        std::unique_ptr<std::FILE, FileCloser> pFile(std::fopen(strPath.c_str(), "rb"));
        HeaderRead read = {};
        std::memset(&read.header, 0xCC, sizeof(read.header));
        if (!pFile) {
            ADD_FAILURE() << "cannot open " << strPath;
            return read;
        }
        std::fseek(pFile.get(), lStartPosition, SEEK_SET);
        read.bResult = ReadContentHeader(pFile.get(), &read.header);
        read.lPosition = std::ftell(pFile.get());
        return read;
    }

    static std::string BytesOf(const ContentHeader& header)
    {
        return std::string(reinterpret_cast<const char*>(&header), sizeof(header));
    }

    CTempFolder m_folder;
    int m_nFiles = 0;
};

ContentHeader WithMagic(ContentHeader header, const std::string& strMagic)
{
    std::memcpy(header.szMagic, strMagic.data(), sizeof(header.szMagic));
    return header;
}

// "KD" and then bytes that are nowhere zero, so every byte of the buffer
// tells whether it came from the file.
std::string MagicAndPattern(size_t cb)
{
    std::string strBytes = "KD";
    while (strBytes.size() < cb)
        strBytes += static_cast<char>(strBytes.size() % 250 + 1);
    return strBytes.substr(0, cb);
}

}   // namespace

TEST_F(ContentHeaderFile, AcceptsDictionaryContentWithATitleOnly)
{
    const ContentHeader dictionary = MakeContentHeader("Title");
    struct Case
    {
        const char* pszWhat;
        std::string strBytes;
        bool bAccepted;
    };
    const Case cases[] = {
        { "full header", ContentFileBytes(dictionary), true },
        { "header and body", ContentFileBytes(dictionary, 5000), true },
        { "100 bytes, the rest counts as zero", ContentFileBytes(dictionary, 100), true },
        { "type code without its NUL at the end of the file", ContentFileBytes(dictionary, 87), true },
        { "type code cut short by the end of the file", ContentFileBytes(dictionary, 86), false },
        { "empty file", "", false },
        { "magic only", "KD", false },
        { "lower-case magic", ContentFileBytes(WithMagic(dictionary, "kd")), false },
        { "K and a NUL", ContentFileBytes(WithMagic(dictionary, "K\0"s)), false },
        { "empty title", ContentFileBytes(MakeContentHeader("")), false },
        { "title filling its whole field", ContentFileBytes(MakeContentHeader(std::string(48, 'T'))), true },
        { "type code with one more letter", ContentFileBytes(MakeContentHeader("Title", "BK_DIC_QXA")), false },
        { "type code one letter short", ContentFileBytes(MakeContentHeader("Title", "BK_DIC_Q")), false },
        { "lower-case type code", ContentFileBytes(MakeContentHeader("Title", "bk_dic_qx")), false },
        { "empty type code", ContentFileBytes(MakeContentHeader("Title", "")), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const HeaderRead read = Read(c.strBytes);
        EXPECT_TRUE(read.bResult);
        EXPECT_EQ(c.bAccepted, !!IsInstallableContent(read.header));
    }
}

TEST_F(ContentHeaderFile, WithTheMagicHoldsTheFirstBytesAndZeroPastTheEnd)
{
    for (size_t cbFile : { 2u, 3u, 100u, 199u, 200u, 201u, 1000u }) {
        SCOPED_TRACE(testing::Message() << cbFile << "-byte file");
        const std::string strFile = MagicAndPattern(cbFile);

        const HeaderRead read = Read(strFile);

        const size_t cbRead = std::min(cbFile, sizeof(ContentHeader));
        std::string strExpected = strFile.substr(0, cbRead) + std::string(sizeof(ContentHeader) - cbRead, '\0');
        EXPECT_TRUE(read.bResult);
        EXPECT_EQ(strExpected, BytesOf(read.header));
    }
}

TEST_F(ContentHeaderFile, WithoutTheMagicIsAllZero)
{
    const std::string strDictionary = ContentFileBytes(MakeContentHeader("Title"), 1000);
    const std::string cases[] = {
        "",
        "K",
        "K\0"s + strDictionary.substr(2),
        "kd" + strDictionary.substr(2),
        "kD" + strDictionary.substr(2),
        "DK" + strDictionary.substr(2),
        " " + strDictionary,
    };
    for (const std::string& strFile : cases) {
        SCOPED_TRACE(testing::Message() << "file of " << strFile.size() << " bytes starting \"" << strFile.substr(0, 3)
                                        << "\"");
        const HeaderRead read = Read(strFile);
        EXPECT_TRUE(read.bResult);
        EXPECT_EQ(std::string(sizeof(ContentHeader), '\0'), BytesOf(read.header));
    }
}

TEST_F(ContentHeaderFile, LeavesTheFileAfterTheBytesReadOrBackAtTheStart)
{
    struct Case
    {
        const char* pszWhat;
        std::string strBytes;
        long lStartPosition;
        long lExpectedPosition;
    };
    const std::string strDictionary = ContentFileBytes(MakeContentHeader("Title"), 1000);
    const Case cases[] = {
        { "magic, 2 bytes", "KD", 0, 2 },
        { "magic, 100 bytes", strDictionary.substr(0, 100), 0, 100 },
        { "magic, 200 bytes", strDictionary.substr(0, 200), 0, 200 },
        { "magic, longer file", strDictionary, 0, 200 },
        { "magic, file positioned in the body", strDictionary, 500, 200 },
        { "magic, file positioned at its end", strDictionary, 1000, 200 },
        { "no magic, longer file", "kd" + strDictionary.substr(2), 0, 0 },
        { "no magic, file positioned in the body", "kd" + strDictionary.substr(2), 500, 0 },
        { "empty file", "", 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        EXPECT_EQ(c.lExpectedPosition, Read(c.strBytes, c.lStartPosition).lPosition);
    }
}

TEST(ContentHeader, TitleReadsUpToItsNulOrAsAllOf48Bytes)
{
    const std::string strFull(48, 'T');
    const std::string cases[] = {
        "Title",
        AnsiFromUtf8("國語辭典"),
        strFull,
        strFull.substr(0, 47),
    };
    for (const std::string& strTitle : cases) {
        SCOPED_TRACE(strTitle.size());
        char szTitle[64];
        std::memset(szTitle, 'x', sizeof(szTitle));

        CopyContentTitle(MakeContentHeader(strTitle), szTitle);

        EXPECT_EQ(strTitle, std::string(szTitle));
    }
}

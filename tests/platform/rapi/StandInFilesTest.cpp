// Files written to the emulated handheld through the stand-in library:
// what lands in the served folder, truncation, and a handheld that fills up.
#include "tests/platform/rapi/StandInFixture.h"

namespace {
HANDLE CreateAlways(const wchar_t* pszPath)
{
    return CeCreateFile(pszPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
}

std::string Pattern(size_t cb, char chSeed)
{
    std::string strBytes(cb, '\0');
    for (size_t i = 0; i < cb; ++i)
        strBytes[i] = static_cast<char>(chSeed + i * 7);
    return strBytes;
}

using StandInFilesTest = StandInTest;

// One call may carry more than one request's worth; names differ only in
// case name the same file; create-always empties what was there.
TEST_F(StandInFilesTest, CreateAlwaysReplacesTheWholeFile)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    std::string strLong = Pattern(200000, 'a');
    ASSERT_TRUE(WriteHandheldFile(L"\\My Documents\\Data.bin", strLong));
    EXPECT_EQ(strLong, ReadHostFile(m_root.PathOf("My Documents\\Data.bin")));

    ASSERT_TRUE(WriteHandheldFile(L"\\MY DOCUMENTS\\data.BIN", "short"));
    EXPECT_EQ("short", ReadHostFile(m_root.PathOf("My Documents\\Data.bin")));
    using Names = std::vector<std::wstring>;
    EXPECT_EQ((Names{ L"Data.bin", L"Personal", L"Templates" }), ListFiles(L"\\My Documents\\*", FAF_NAME).Names());
}

TEST_F(StandInFilesTest, WritesComeBackShortWhenTheHandheldIsFull)
{
    ASSERT_NO_FATAL_FAILURE(Connect("--capacity 100000"));
    std::string strBlock = Pattern(65536, 'x');
    HANDLE hFile = CreateAlways(L"\\Temp\\big.kda");
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD cbWritten = 0;
    EXPECT_TRUE(CeWriteFile(hFile, strBlock.data(), 65536, &cbWritten, nullptr));
    EXPECT_EQ(DWORD(65536), cbWritten);
    EXPECT_FALSE(CeWriteFile(hFile, strBlock.data(), 65536, &cbWritten, nullptr));
    EXPECT_EQ(DWORD(100000 - 65536), cbWritten);
    EXPECT_EQ(DWORD(ERROR_DISK_FULL), CeGetLastError());
    EXPECT_TRUE(CeCloseHandle(hFile));
    EXPECT_EQ(size_t(100000), ReadHostFile(m_root.PathOf("Temp\\big.kda")).size());

    // Emptying the file gives its room back.
    hFile = CreateAlways(L"\\Temp\\big.kda");
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    EXPECT_TRUE(CeWriteFile(hFile, strBlock.data(), 65536, &cbWritten, nullptr));
    EXPECT_EQ(DWORD(65536), cbWritten);
    EXPECT_TRUE(CeCloseHandle(hFile));
}

TEST_F(StandInFilesTest, DeleteRemovesTheFileOnce)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    ASSERT_TRUE(WriteHandheldFile(L"\\Temp\\partial.kda", "part"));
    EXPECT_TRUE(CeDeleteFile(L"\\temp\\PARTIAL.kda"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_root.PathOf("Temp\\partial.kda").c_str()));
    EXPECT_FALSE(CeDeleteFile(L"\\Temp\\partial.kda"));
    EXPECT_EQ(DWORD(ERROR_FILE_NOT_FOUND), CeGetLastError());
}

TEST_F(StandInFilesTest, HandlesAreChecked)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    HANDLE hFile = CreateAlways(L"\\Temp\\once.kda");
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    EXPECT_TRUE(CeCloseHandle(hFile));
    DWORD cbWritten = 1;
    EXPECT_FALSE(CeWriteFile(hFile, "x", 1, &cbWritten, nullptr));
    EXPECT_EQ(DWORD(0), cbWritten);
    EXPECT_EQ(DWORD(ERROR_INVALID_HANDLE), CeGetLastError());
    EXPECT_FALSE(CeCloseHandle(hFile));
    EXPECT_FALSE(CeCloseHandle(INVALID_HANDLE_VALUE));
}
}   // namespace

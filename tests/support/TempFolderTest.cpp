#include "tests/support/TempFolder.h"

#include "tests/support/AnsiText.h"
#include "tests/support/FileContents.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& strPath)
{
    DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

}   // namespace

TEST(TempFolder, MakesNestedFoldersAndFilesAndRemovesThemAll)
{
    std::string strRoot;
    std::string strFile;
    {
        CTempFolder folder;
        strRoot = folder.Path();
        ASSERT_TRUE(IsFolder(strRoot));

        EXPECT_TRUE(IsFolder(folder.MakeFolder("a\\b\\c")));
        strFile = folder.MakeFile("x\\y\\book.kda", std::string("KD\0\xFF", 4));
        EXPECT_EQ(std::string("KD\0\xFF", 4), ContentsOf(strFile));
        EXPECT_EQ(folder.PathOf("x\\y\\book.kda"), strFile);

        const std::string strEmpty = folder.MakeFile("empty.kda");
        EXPECT_TRUE(Exists(strEmpty));
        EXPECT_EQ("", ContentsOf(strEmpty));

        SetFileAttributesA(strFile.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    }
    EXPECT_FALSE(Exists(strFile));
    EXPECT_FALSE(Exists(strRoot));
}

TEST(TempFolder, GivesEachFolderItsOwnPath)
{
    CTempFolder first;
    CTempFolder second;

    EXPECT_NE(first.Path(), second.Path());
}

TEST(TempFolder, MakesFoldersUnderAGivenParentWithAnsiNames)
{
    CTempFolder parent;
    // 許 ends in the byte of a backslash in code page 950.
    const std::string strName = AnsiFromUtf8("許功蓋\\字庫.kda");
    {
        CTempFolder folder(parent.Path() + "\\");
        EXPECT_EQ(0u, folder.Path().find(parent.Path() + "\\"));

        const std::string strFile = folder.MakeFile(strName, "KD");
        EXPECT_EQ("KD", ContentsOf(strFile));
    }
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((parent.Path() + "\\*.*").c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind);
    int nEntries = 0;
    do {
        ++nEntries;
    } while (FindNextFileA(hFind, &fd));
    FindClose(hFind);
    EXPECT_EQ(2, nEntries) << "only . and .. are left";
}

// Names and paths of folders as the shell gives them, in a locale whose ANSI
// and OEM code pages write some letters differently (1252 and 850 under
// de_DE): every path of the program is in the ANSI one.
#include "tests/shell/ModelFixture.h"

#include "tests/support/AnsiText.h"

namespace {

using ShellNamesTest = ModelTest;

std::string OemFromUtf8(const std::string& strUtf8)
{
    wchar_t szWide[MAX_PATH] = {};
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.c_str(), -1, szWide, MAX_PATH);
    char szOem[MAX_PATH] = {};
    WideCharToMultiByte(CP_OEMCP, 0, szWide, -1, szOem, sizeof(szOem), nullptr, nullptr);
    return szOem;
}

TEST_F(ShellNamesTest, AFolderWithAnAccentedNameIsNamedInTheAnsiCodePage)
{
    const char* pszName = "Wörterbücher";
    const std::string strName = AnsiFromUtf8(pszName);
    ASSERT_NE(strName, OemFromUtf8(pszName)) << "code pages " << GetACP() << " and " << GetOEMCP()
                                             << " write the name alike: a name in the wrong one would pass";
    CTempFolder folder("R:\\");
    const std::string strPath = folder.MakeFolder(strName);

    auto pRoot = ListedRoot(FNF_NODEVICE);
    CFolderNode* pFolder = pRoot->FindByPath(folder.Path().c_str(), 1);
    ASSERT_NE(nullptr, pFolder) << folder.Path();
    Listed(pFolder);
    ASSERT_EQ(1u, pFolder->GetChildCount());
    CFolderNode* pNamed = pFolder->GetChild(0);
    EXPECT_EQ(strName, pNamed->GetDisplayName());
    EXPECT_EQ(strPath, pNamed->GetPath());
    EXPECT_EQ(pNamed, pRoot->FindByPath(strPath.c_str(), 1));
    // Its path opens that very folder.
    const std::string strProbe = std::string(pNamed->GetPath()) + "\\probe.kda";
    HANDLE hFile = CreateFileA(strProbe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile) << strProbe;
    CloseHandle(hFile);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.PathOf(strName + "\\probe.kda").c_str()));
}

}   // namespace

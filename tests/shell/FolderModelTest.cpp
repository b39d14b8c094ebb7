// The destination model over the real shell namespace of the test prefix
// (removable A:, B:, R:, S:, fixed T:) and the emulated handheld.
#include "tests/shell/ModelFixture.h"

#include "res/resource.h"
#include "shell/IdList.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessagePump.h"

#include <algorithm>

namespace {

using FolderModelTest = ModelTest;

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

TEST_F(FolderModelTest, TheRootListsRemovableDrivesOtherThanA)
{
    auto pRoot = ListedRoot(FNF_NODEVICE);
    EXPECT_EQ(Sorted({ "B:\\", "F:\\", "R:\\", "S:\\" }), Sorted(ChildPaths(pRoot.get())))
        << "no A:, no fixed drive, nothing else of My Computer";
    EXPECT_TRUE(pRoot->HasChildren());
    EXPECT_FALSE(pRoot->IsFileSystem()) << "My Computer is no folder to install into";
    for (UINT i = 0; i < pRoot->GetChildCount(); ++i) {
        CFolderNode* pDrive = pRoot->GetChild(i);
        EXPECT_TRUE(pDrive->IsFileSystem()) << pDrive->GetPath();
        EXPECT_FALSE(pDrive->IsOnDevice()) << pDrive->GetPath();
        EXPECT_EQ(pRoot.get(), pDrive->GetParent());
    }
    EXPECT_EQ(nullptr, pRoot->GetChild(pRoot->GetChildCount()));
}

TEST_F(FolderModelTest, FoldersShowTheirNamesAndPathsButNoHiddenOnes)
{
    CTempFolder folder("R:\\");
    const std::string strWide = InUsersSet("字典資料夾", "字典文件夹");
    folder.MakeFolder("visible");
    folder.MakeFolder(strWide);
    const std::string strHidden = folder.MakeFolder("hidden");
    ASSERT_TRUE(SetFileAttributesA(strHidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(GetFileAttributesA(strHidden.c_str()) & FILE_ATTRIBUTE_HIDDEN)
        << "the test drive's file system keeps no hidden attribute: a hidden folder would look like any other";
    folder.MakeFile("file.kda", "not a folder");

    auto pRoot = ListedRoot(FNF_NODEVICE);
    CFolderNode* pNode = pRoot->FindByPath(folder.Path().c_str(), 1);
    ASSERT_NE(nullptr, pNode) << folder.Path();
    EXPECT_EQ(folder.Path(), pNode->GetPath());
    Listed(pNode);
    EXPECT_EQ(Sorted({ "visible", strWide }), Sorted(ChildNames(pNode)));

    // The path of a folder named in the code page opens that very folder.
    CFolderNode* pWide = ChildNamed(pNode, strWide);
    ASSERT_NE(nullptr, pWide);
    EXPECT_EQ(folder.PathOf(strWide), pWide->GetPath());
    const std::string strProbe = std::string(pWide->GetPath()) + "\\probe.kda";
    HANDLE hFile = CreateFileA(strProbe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    CloseHandle(hFile);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.PathOf(strWide + "\\probe.kda").c_str()));
}

TEST_F(FolderModelTest, AFolderWithoutFoldersLosesItsChildrenFlagOnceListed)
{
    CTempFolder folder("S:\\");
    folder.MakeFolder("empty");
    auto pRoot = ListedRoot(FNF_NODEVICE);
    CFolderNode* pEmpty = pRoot->FindByPath(folder.PathOf("empty").c_str(), 1);
    ASSERT_NE(nullptr, pEmpty);
    Listed(pEmpty);
    EXPECT_EQ(0u, pEmpty->GetChildCount());
    EXPECT_FALSE(pEmpty->HasChildren());
    EXPECT_TRUE(pEmpty->IsEnumerated());
}

TEST_F(FolderModelTest, TheHandheldComesAfterTheDrivesWithItsFolders)
{
    // The emulator lays out a typical handheld in an empty folder first.
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    m_handheld.MakeFolder("Storage");
    auto pRoot = ListedRoot(0xA0);
    ASSERT_EQ(5u, pRoot->GetChildCount());
    CFolderNode* pDevice = pRoot->GetChild(4);
    EXPECT_EQ(InUsersSet("行動裝置", "行动装置"), pDevice->GetDisplayName());
    EXPECT_STREQ("\\", pDevice->GetPath());
    EXPECT_STREQ(L"", pDevice->GetDevicePath());
    EXPECT_EQ(UINT(FNF_ONDEVICE | FNF_DEVICEROOT | FNF_HASCHILDREN | 0xA0), pDevice->GetFlags());
    EXPECT_TRUE(pDevice->IsFileSystem());
    for (UINT i = 0; i < 4; ++i) {
        EXPECT_GT(pDevice->Compare(pRoot->GetChild(i)), 0) << "after the drives";
        EXPECT_LT(pRoot->GetChild(i)->Compare(pDevice), 0);
    }

    Listed(pDevice);
    const std::vector<std::string> names = ChildNames(pDevice);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Storage"));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "My Documents"));
    EXPECT_EQ(names.end(), std::find(names.begin(), names.end(), "ROM Modules")) << "hidden system ROM folder";
    CFolderNode* pStorage = ChildNamed(pDevice, "Storage");
    ASSERT_NE(nullptr, pStorage);
    EXPECT_STREQ(L"\\Storage", pStorage->GetDevicePath());
    EXPECT_STREQ("\\Storage", pStorage->GetPath());
    EXPECT_TRUE(pStorage->IsOnDevice());
    EXPECT_FALSE(pStorage->GetFlags() & FNF_DEVICEROOT);
    EXPECT_FALSE(pStorage->HasChildren()) << "nothing below it on the handheld";
    CFolderNode* pDocuments = ChildNamed(pDevice, "My Documents");
    ASSERT_NE(nullptr, pDocuments);
    EXPECT_TRUE(pDocuments->HasChildren());
    EXPECT_EQ(0, pStorage->Compare(pDocuments)) << "handheld siblings keep their order";
    Listed(pDocuments);
    ASSERT_LT(0u, pDocuments->GetChildCount());
    EXPECT_STREQ(L"\\My Documents\\Personal", pDocuments->GetChild(0)->GetDevicePath());
}

TEST_F(FolderModelTest, NoHandheldNodeMeansNoConnectionAttempt)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    auto pRoot = ListedRoot(FNF_NODEVICE);
    EXPECT_EQ(4u, pRoot->GetChildCount());
    auto pWithDevice = ListedRoot(0);
    EXPECT_EQ(5u, pWithDevice->GetChildCount());
    // The emulator reports the probe's connection: it is the only one.
    ASSERT_TRUE(PumpMessagesUntil([this] { return m_pEmulator->Connections() >= 1; }, 5000));
    Sleep(200);
    EXPECT_EQ(1, m_pEmulator->Connections()) << "one silent probe, none for the listing without a handheld node";
}

TEST_F(FolderModelTest, LookUpsByIdListAndPath)
{
    CTempFolder folder("R:\\");
    folder.MakeFolder("a\\b");
    // A name whose second byte is a backslash.
    const std::string strDbcs = InUsersSet("許", "乗");
    const std::string strDbcsPath = folder.MakeFolder(strDbcs);
    auto pRoot = std::make_unique<CShellFolderNode>();
    pRoot->SetFlags(FNF_NODEVICE);
    EXPECT_EQ(pRoot.get(), pRoot->FindByIdList(nullptr));
    EXPECT_FALSE(pRoot->IsEnumerated()) << "a null list asks for nothing";
    const BYTE empty[2] = {};
    EXPECT_EQ(pRoot.get(), pRoot->FindByIdList(reinterpret_cast<LPCITEMIDLIST>(empty)));
    EXPECT_TRUE(pRoot->IsEnumerated());
    EXPECT_EQ(4u, pRoot->GetChildCount());
    const BYTE one[6] = { 4, 0, 'x', 0, 0, 0 };
    EXPECT_EQ(nullptr, pRoot->FindByIdList(reinterpret_cast<LPCITEMIDLIST>(one)));

    EXPECT_EQ(pRoot.get(), pRoot->FindByPath("", 1));
    CFolderNode* pB = pRoot->FindByPath(folder.PathOf("a\\b").c_str(), 1);
    ASSERT_NE(nullptr, pB);
    EXPECT_EQ(folder.PathOf("a\\b"), pB->GetPath());
    // Either separator, a run of them as one, ASCII letters in any case; a
    // name whose second byte is a backslash stays one name.
    const std::string strName = folder.Path().substr(3);   // past "R:\\"
    const struct
    {
        std::string strPath;
        std::string strFound;   // empty: nothing
    } cases[] = {
        { folder.PathOf("A\\B"), pB->GetPath() },
        { folder.PathOf("a\\b") + "\\", pB->GetPath() },
        { "R:/" + strName + "/a/b", pB->GetPath() },
        { "r:\\\\" + strName + "//a\\/b\\\\", pB->GetPath() },
        { strDbcsPath, strDbcsPath },
        { strDbcsPath + "/", strDbcsPath },
        { folder.PathOf("a\\b\\c\\d"), "" },
        { folder.PathOf(strDbcs + "b"), "" },
        // Longer than the look-ups' 260 bytes: though every folder on the
        // way that fits them exists, the path names none of them.
        { folder.PathOf("a\\b\\") + std::string(260, 'x'), "" },
        { folder.PathOf("a\\b") + std::string(260, '\\'), "" },
    };
    for (const auto& c : cases) {
        CFolderNode* pFound = pRoot->FindByPath(c.strPath.c_str(), 1);
        EXPECT_EQ(c.strFound, pFound != nullptr ? pFound->GetPath() : "") << c.strPath;
    }

    LPCITEMIDLIST pidlCursor = pB->GetAbsoluteIdList();
    pidlCursor = GetItemId(pidlCursor, 1);   // past My Computer
    CFolderNode* pDrive = pRoot->FindChildById(&pidlCursor);
    ASSERT_NE(nullptr, pDrive);
    EXPECT_STREQ("R:\\", pDrive->GetPath());
    EXPECT_TRUE(IsSameItemId(pidlCursor, GetItemId(pB->GetAbsoluteIdList(), 2))) << "the cursor moved on";
    LPCITEMIDLIST pidlNull = nullptr;
    EXPECT_EQ(nullptr, pRoot->FindChildById(&pidlNull));
    EXPECT_TRUE(pDrive->IsSameIdList(pDrive->GetAbsoluteIdList()));
    EXPECT_FALSE(pDrive->IsSameIdList(pB->GetAbsoluteIdList()));
}

TEST_F(FolderModelTest, IconsAndDebugText)
{
    auto pRoot = ListedRoot(FNF_NODEVICE);
    CFolderNode* pDrive = pRoot->GetChild(0);
    const std::string strName = pDrive->GetDisplayName();
    EXPECT_EQ("[IId=-1;Sys=0;Reg=0;Sync=0] [IId=-1;Sys=0;Reg=0;Sync=0] " + strName, pDrive->GetDebugText());
    EXPECT_EQ(g_nOwnImageBase + 1, pDrive->GetIconInfo()->iIcon);
    EXPECT_EQ(g_nOwnImageBase + 2, pDrive->GetOpenIconInfo()->iIcon);
    // My Computer shows the system's own icons for it.
    for (const UINT uOpen : { 0u, UINT(SHGFI_OPENICON) }) {
        SHFILEINFOA sfi = {};
        ASSERT_TRUE(SHGetFileInfoA(reinterpret_cast<LPCSTR>(pRoot->GetAbsoluteIdList()), 0, &sfi, sizeof(sfi),
                                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_PIDL | uOpen));
        ASSERT_NE(0, sfi.iIcon) << "the system's icon cannot be told from the index of a failed look-up";
        EXPECT_EQ(sfi.iIcon, (uOpen ? pRoot->GetOpenIconInfo() : pRoot->GetIconInfo())->iIcon) << uOpen;
    }
    EXPECT_EQ("[IId=" + std::to_string(g_nOwnImageBase + 1) + ";Sys=0;Reg=0;Sync=0] [IId="
                  + std::to_string(g_nOwnImageBase + 2) + ";Sys=0;Reg=0;Sync=0] " + strName,
              pDrive->GetDebugText());
    EXPECT_TRUE(Listed(pDrive)->GetShellFolder() != nullptr);
    EXPECT_TRUE(pDrive->Execute()) << "a bound folder opens nothing and answers success";
}

}   // namespace

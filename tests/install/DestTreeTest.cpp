// The destination tree as a user meets it: expanding branches with the
// mouse, the path label following clicks but not keys, and the walk to a
// remembered path; over the real shell namespace and the emulated handheld.
#include "tests/shell/ModelFixture.h"

#include "tests/install/TreeHost.h"
#include "tests/support/AnsiText.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/MessagePump.h"

#include <algorithm>

namespace {

constexpr UINT PANE_FLAGS = 0xA0;

using DestTreeTest = ModelTest;

// A folder of the same name in the root of each of the given drives.
class CFolderOnDrives
{
public:
    explicit CFolderOnDrives(std::initializer_list<const char*> drives)
        : m_strName("tarnix-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()))
    {
        for (const char* pszDrive : drives) {
            m_paths.push_back(std::string(pszDrive) + m_strName);
            CreateDirectoryA(m_paths.back().c_str(), nullptr);
        }
    }
    ~CFolderOnDrives()
    {
        for (const std::string& strPath : m_paths)
            RemoveDirectoryA(strPath.c_str());
    }
    // The path without a drive: "\name".
    std::string DrivelessPath() const { return "\\" + m_strName; }
    const std::string& PathOn(size_t nDrive) const { return m_paths[nDrive]; }

private:
    std::string m_strName;
    std::vector<std::string> m_paths;
};

TEST_F(DestTreeTest, ExpandingWithTheMouseListsABranchOnce)
{
    CTempFolder folder("R:\\");
    const std::string strGone = folder.MakeFolder("emptied\\gone");
    folder.MakeFolder("full\\one");
    CTreeHost host;
    host.SelectFolder(PANE_FLAGS | FNF_NODEVICE, folder.Path());
    HTREEITEM hFolder = host.Find(folder.Path());
    ASSERT_NE(nullptr, hFolder);
    ASSERT_TRUE(host.ClickButton(hFolder)) << "the walk ends on the folder, not in it";

    // A folder that had a folder when the tree was built, and has none by
    // the time the user expands it.
    HTREEITEM hEmptied = host.Find(folder.PathOf("emptied"));
    ASSERT_NE(nullptr, hEmptied);
    ASSERT_TRUE(host.m_tree.ItemHasChildren(hEmptied));
    RemoveDirectoryA(strGone.c_str());
    ASSERT_TRUE(host.ClickButton(hEmptied));
    EXPECT_FALSE(host.m_tree.ItemHasChildren(hEmptied)) << "the button goes once nothing is found";
    EXPECT_EQ(nullptr, host.m_tree.GetChildItem(hEmptied));

    HTREEITEM hFull = host.Find(folder.PathOf("full"));
    ASSERT_NE(nullptr, hFull);
    ASSERT_TRUE(host.ClickButton(hFull));
    ASSERT_NE(nullptr, host.Find(folder.PathOf("full\\one")));
    // Collapsed and expanded again, the branch is not listed anew.
    folder.MakeFolder("full\\two");
    ASSERT_TRUE(host.ClickButton(hFull));
    ASSERT_TRUE(host.ClickButton(hFull));
    EXPECT_NE(nullptr, host.Find(folder.PathOf("full\\one")));
    EXPECT_EQ(nullptr, host.Find(folder.PathOf("full\\two")));
}

TEST_F(DestTreeTest, TheLabelFollowsClicksButNotKeys)
{
    CTempFolder folder("S:\\");
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    m_handheld.MakeFolder("Storage");
    CTreeHost host;
    host.SelectFolder(PANE_FLAGS, folder.Path());
    const std::string strDevice = InUsersSet("行動裝置", "行动装置");

    HTREEITEM hFolder = host.Find(folder.Path());
    ASSERT_NE(nullptr, hFolder);
    host.Click(host.m_tree.GetRootItem());
    EXPECT_EQ(host.m_tree.NodeOf(host.m_tree.GetRootItem())->GetDisplayName(), host.Label())
        << "the computer shows its name";
    host.Click(hFolder);
    EXPECT_EQ(folder.Path(), host.Label());

    HTREEITEM hDevice = host.Find(strDevice);
    ASSERT_NE(nullptr, hDevice);
    host.Click(hDevice);
    EXPECT_EQ(strDevice + ":\\", host.Label());
    ASSERT_TRUE(host.ClickButton(hDevice));
    HTREEITEM hStorage = host.Find("\\Storage");
    ASSERT_NE(nullptr, hStorage);
    host.Click(hStorage);
    EXPECT_EQ(strDevice + ":\\Storage", host.Label());

    host.PressKey(VK_UP);
    EXPECT_NE(hStorage, host.m_tree.GetSelectedItem()) << "the caret moved";
    EXPECT_EQ(strDevice + ":\\Storage", host.Label()) << "keys leave the label";
}

TEST_F(DestTreeTest, ALongHandheldPathIsCutAtACharacter)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    std::string strUtf8Name;
    for (int i = 0; i < 63; ++i)
        strUtf8Name += "字";
    // One letter more in the first folder's name puts the label's bytes 258
    // and 259 into one character: a cut after 259 bytes would halve it.
    const std::string strFirst = "a" + AnsiFromUtf8(strUtf8Name);
    const std::string strSecond = AnsiFromUtf8(strUtf8Name);
    m_handheld.MakeFolder(strFirst + "\\" + strSecond);
    CTreeHost host;
    host.m_tree.SelectPath(PANE_FLAGS, 0, nullptr);
    HTREEITEM hDevice = host.Find(InUsersSet("行動裝置", "行动装置"));
    ASSERT_NE(nullptr, hDevice);
    ASSERT_TRUE(host.ClickButton(hDevice));
    HTREEITEM hFirst = host.Find(strFirst);
    ASSERT_NE(nullptr, hFirst);
    ASSERT_TRUE(host.ClickButton(hFirst));
    HTREEITEM hSecond = host.m_tree.GetChildItem(hFirst);
    ASSERT_NE(nullptr, hSecond);
    host.Click(hSecond);

    const std::string strFull = InUsersSet("行動裝置", "行动装置") + ":\\" + strFirst + "\\" + strSecond;
    ASSERT_EQ(264u, strFull.size());
    ASSERT_TRUE(IsDBCSLeadByte(static_cast<BYTE>(strFull[258]))) << "a character at bytes 258 and 259";
    EXPECT_EQ(strFull.substr(0, 258), host.Label()) << "cut before the character that does not fit whole";
}

TEST_F(DestTreeTest, TheWalkToAPath)
{
    CFolderOnDrives onBoth({ "R:\\", "S:\\" });
    CTempFolder deep("R:\\");
    std::string strDeep = deep.Path();
    for (int i = 1; i <= 30; ++i)
        strDeep += "\\l" + std::to_string(i);
    deep.MakeFolder(strDeep.substr(deep.Path().size() + 1));
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    m_handheld.MakeFolder("Storage");
    CTreeHost host;

    // Without a drive, the folder on the later drive wins.
    host.m_tree.SelectPath(PANE_FLAGS, 0, onBoth.DrivelessPath().c_str());
    ASSERT_NE(nullptr, host.Caret());
    EXPECT_EQ(onBoth.PathOn(1), host.Caret()->GetPath());
    EXPECT_EQ(onBoth.PathOn(1), host.Label());
    EXPECT_NE(nullptr, host.Find(onBoth.PathOn(0))) << "both drives were expanded";

    // With a drive letter, that drive's folder, though a later drive has
    // one too; a drive's root by its letter.
    host.m_tree.SelectPath(PANE_FLAGS, 0, onBoth.PathOn(0).c_str());
    ASSERT_NE(nullptr, host.Caret());
    EXPECT_EQ(onBoth.PathOn(0), host.Caret()->GetPath());
    host.m_tree.SelectPath(PANE_FLAGS, 0, "s:\\");
    ASSERT_NE(nullptr, host.Caret());
    EXPECT_STREQ("S:\\", host.Caret()->GetPath());

    // The handheld's branch is never searched: the walk ends on a drive.
    host.m_tree.SelectPath(PANE_FLAGS, 0, "\\Storage");
    ASSERT_NE(nullptr, host.Caret());
    EXPECT_FALSE(host.Caret()->IsOnDevice());
    EXPECT_EQ(3u, strlen(host.Caret()->GetPath()));

    // Thirty levels down, the walk reaches the twentieth folder below the
    // drive, goes no deeper, and stays there.
    host.SelectFolder(PANE_FLAGS, strDeep);
    std::string strLevel20 = deep.Path();
    for (int i = 1; i <= 19; ++i)
        strLevel20 += "\\l" + std::to_string(i);
    ASSERT_NE(nullptr, host.Caret());
    EXPECT_EQ(strLevel20, host.Caret()->GetPath());
    EXPECT_EQ(strLevel20, host.Label());
    EXPECT_EQ(nullptr, host.Find(strLevel20 + "\\l20"));

    // A name that only begins like a folder's on the way does not lead
    // through it; a trailing backslash names the same folder.
    deep.MakeFolder("dict");
    host.m_tree.Clear(true);   // a new model sees the new folder
    host.SelectFolder(PANE_FLAGS, deep.PathOf("dictionary\\x"));
    EXPECT_EQ(deep.Path(), host.Caret()->GetPath()) << "the deepest folder on the way";
    host.SelectFolder(PANE_FLAGS, deep.PathOf("dict") + "\\");
    EXPECT_EQ(deep.PathOf("dict"), host.Caret()->GetPath());
}

TEST_F(DestTreeTest, TheWalkTakesEitherSeparatorAsTheLookUpsDo)
{
    // A name whose second byte is a backslash, which is no separator.
    const std::string strDbcs = InUsersSet("許", "乗");
    CTempFolder folder("S:\\");
    const std::string strLeaf = folder.MakeFolder(strDbcs + "\\leaf");
    const std::string strDbcsPath = folder.PathOf(strDbcs);
    const std::string strName = folder.Path().substr(3);   // past "S:\\"
    const struct
    {
        std::string strTarget;
        std::string strFolder;
    } cases[] = {
        { "\\" + strName + "\\" + strDbcs + "\\leaf", strLeaf },
        { "/" + strName + "/" + strDbcs + "/leaf", strLeaf },
        { "\\" + strName + "//" + strDbcs + "\\/leaf\\\\", strLeaf },
        { "s:/" + strName + "/" + strDbcs + "/leaf/", strLeaf },
        { "S:\\\\" + strName + "\\" + strDbcs + "\\leaf", strLeaf },
        { "\\" + strName + "\\" + strDbcs, strDbcsPath },
        { "/" + strName + "/" + strDbcs + "/", strDbcsPath },
        { "\\" + strName + "\\" + strDbcs + "leaf", folder.Path() },
    };
    CTreeHost host;
    for (const auto& c : cases) {
        host.m_tree.SelectPath(PANE_FLAGS | FNF_NODEVICE, 0, c.strTarget.c_str());
        ASSERT_NE(nullptr, host.Caret()) << c.strTarget;
        EXPECT_EQ(c.strFolder, host.Caret()->GetPath()) << c.strTarget;
        EXPECT_EQ(c.strFolder, host.Label()) << c.strTarget;
    }
}

// An item's children in the tree's order: their nodes' paths, or their
// display names.
std::vector<std::string> ChildTexts(CTreeHost& host, HTREEITEM hItem, bool bPaths)
{
    std::vector<std::string> texts;
    for (HTREEITEM hChild = host.m_tree.GetChildItem(hItem); hChild != nullptr;
         hChild = host.m_tree.GetNextSiblingItem(hChild)) {
        CFolderNode* pNode = host.m_tree.NodeOf(hChild);
        texts.push_back(bPaths ? pNode->GetPath() : pNode->GetDisplayName());
    }
    return texts;
}

// The names of a node's children in the model's order, which is the
// listing's.
std::vector<std::string> NodeNames(CFolderNode* pNode)
{
    std::vector<std::string> names;
    for (UINT i = 0; i < pNode->GetChildCount(); ++i)
        names.push_back(pNode->GetChild(i)->GetDisplayName());
    return names;
}

TEST_F(DestTreeTest, SiblingsInTheOrderAUserExpects)
{
    // Made in an order of their own, with letter case that a plain byte
    // comparison would put first, and marks that the language's rules
    // weigh otherwise than the file system's listing.
    CTempFolder folder("R:\\");
    for (const char* pszName : { "charlie", "Delta", "a-c", "alpha", "_x", "Bravo", "ab" })
        folder.MakeFolder(pszName);
    // Handheld folders whose names a sort, plain or by the language's
    // rules, would put in another order than the listing's.
    for (const char* pszName : { "B", "ab", "a-c" })
        m_handheld.MakeFolder(pszName);
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    CTreeHost host;
    host.SelectFolder(PANE_FLAGS, folder.Path());
    const HTREEITEM hComputer = host.m_tree.GetRootItem();

    // The drives by letter, then the handheld.
    EXPECT_EQ(std::vector<std::string>({ "B:\\", "F:\\", "R:\\", "S:\\", "\\" }), ChildTexts(host, hComputer, true));

    // A drive's folders as the shell orders them: letter case aside, a
    // hyphen counting for nothing, an underscore before the letters.
    HTREEITEM hFolder = host.Find(folder.Path());
    ASSERT_NE(nullptr, hFolder);
    ASSERT_TRUE(host.ClickButton(hFolder));
    const std::vector<std::string> shellOrder = { "_x", "ab", "a-c", "alpha", "Bravo", "charlie", "Delta" };
    ASSERT_NE(shellOrder, NodeNames(host.m_tree.NodeOf(hFolder))) << "a listing in the shell's order shows nothing";
    EXPECT_EQ(shellOrder, ChildTexts(host, hFolder, false));

    // The handheld's folders as its listing gives them.
    HTREEITEM hDevice = host.Find(InUsersSet("行動裝置", "行动装置"));
    ASSERT_NE(nullptr, hDevice);
    ASSERT_TRUE(host.ClickButton(hDevice));
    const std::vector<std::string> listed = NodeNames(host.m_tree.NodeOf(hDevice));
    std::vector<std::string> sorted = listed;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_NE(sorted, listed) << "a listing in plain order shows nothing";
    std::sort(sorted.begin(), sorted.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    ASSERT_NE(sorted, listed) << "a listing in the language's order shows nothing";
    EXPECT_EQ(listed, ChildTexts(host, hDevice, false));
}

TEST_F(DestTreeTest, EveryRootAddsTheProgramsImagesAgain)
{
    CTreeHost host;
    CImageList& images = g_shellContext.GetSystemImageList();
    host.m_tree.SelectPath(PANE_FLAGS | FNF_NODEVICE, 0, nullptr);
    const int nAfterFirst = images.GetImageCount();
    EXPECT_EQ(nAfterFirst - 3, g_nOwnImageBase);
    // What a refresh does: two builds, each from a new root.
    host.m_tree.Clear(true);
    host.m_tree.SelectPath(PANE_FLAGS | FNF_NODEVICE, 0, nullptr);
    host.m_tree.Clear(true);
    host.m_tree.SelectPath(PANE_FLAGS, 0, nullptr);
    EXPECT_EQ(nAfterFirst + 6, g_shellContext.GetSystemImageList().GetImageCount());
    EXPECT_EQ(nAfterFirst + 3, g_nOwnImageBase);
    HTREEITEM hDrive = host.m_tree.GetChildItem(host.m_tree.GetRootItem());
    TVITEMA item = {};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = hDrive;
    ASSERT_TRUE(host.m_tree.GetItem(&item));
    EXPECT_EQ(g_nOwnImageBase + 1, item.iImage) << "a drive shows the closed folder";
    EXPECT_EQ(g_nOwnImageBase + 2, item.iSelectedImage);
}

TEST_F(DestTreeTest, AModelFailureInATreeNotificationEndsInTheProgramsMessage)
{
    CTempFolder folder("R:\\");   // something to list under the drive
    CTreeHost host;
    host.m_tree.SelectPath(PANE_FLAGS | FNF_NODEVICE, 0, nullptr);
    HTREEITEM hDrive = host.Find("R:\\");
    ASSERT_NE(nullptr, hDrive);
    CMessageBoxRecorder boxes;
    // Without the shell's allocator no node can be made.
    g_shellContext.Release();
    const bool bClicked = host.ClickButton(hDrive);
    g_shellContext.Refresh();
    ASSERT_TRUE(bClicked);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(InUsersSet("程式發生無法處理的錯誤，必須結束。\n\n記憶體不足，無法建立資料夾清單。",
                         "程序发生无法处理的错误，必须结束。\n\n内存不足，无法建立文件夹列表。"),
              boxes.Boxes()[0].strText);
    int nExitCode = 0;
    EXPECT_TRUE(TakeQuitMessage(&nExitCode));
    EXPECT_EQ(1, nExitCode);
}

}   // namespace

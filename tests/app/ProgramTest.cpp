// The program as a user meets it: started as a process of its own in the
// test prefix, with the removable drives and the emulated handheld, and
// driven through its windows by clicks, keys and menu commands.
#include "tests/platform/rapi/EmulatorProcess.h"

#include "platform/framework/FrameworkIds.h"
#include "TarnixVersion.h"
#include "res/resource.h"
#include "tests/app/ProgramProcess.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ContentFile.h"
#include "tests/support/FileContents.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>
#include <winver.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

class ProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        UseEndpoint(m_silent.Endpoint());
        for (int i = 0; i < 3; ++i)
            AddContent("dict" + std::to_string(i) + ".kda", 1000 + 70000 * i);
    }
    void TearDown() override { UseEndpoint(std::string()); }

    void AddContent(const std::string& strName, size_t cb)
    {
        m_content.MakeFile(strName, ContentFileBytes(MakeContentHeader("Title " + strName), cb));
    }

    // A user's first click on the list's first row.
    static void ClickFirstRow(const CProgramProcess& program) { program.Click(program.ListView(), 60, 30); }

    bool InstallEnabled(const CProgramProcess& program) const
    {
        return ::IsWindowEnabled(program.InstallButton()) != 0;
    }

    CSilentPort m_silent;
    CTempFolder m_content{ "T:\\" };
};

// Every place a save could write to: the content folder and its drive,
// the program's working folder and its own folder, the removable drives.
std::map<std::string, std::string> StampsOfEveryPlace(const std::string& strWorkingFolder)
{
    std::string strProgramFolder = TARNIX_PROGRAM_PATH;
    strProgramFolder.erase(strProgramFolder.find_last_of("\\/"));
    std::map<std::string, std::string> stamps;
    for (const std::string& strFolder : { strWorkingFolder, strProgramFolder, std::string("B:"), std::string("F:"),
                                          std::string("R:"), std::string("S:"), std::string("T:") }) {
        const auto inFolder = FolderStamps(strFolder);
        stamps.insert(inFolder.begin(), inFolder.end());
    }
    return stamps;
}

TEST_F(ProgramTest, TheMainWindowAndItsCommands)
{
    CTempFolder working;
    CProgramProcess program(m_content.Path(), 0, working.Path());
    ASSERT_NE(nullptr, program.MainWindow());
    EXPECT_EQ(InUsersSet("Lexora字庫安裝程式", "Lexora字库安装程序"), WindowTextOf(program.MainWindow()));

    // Install only while something is ticked.
    ASSERT_TRUE(WaitFor([&] { return !InstallEnabled(program); })) << "nothing is ticked yet";
    ClickFirstRow(program);
    EXPECT_TRUE(WaitFor([&] { return InstallEnabled(program); })) << "a click on a row ticks it";
    ClickFirstRow(program);
    EXPECT_TRUE(WaitFor([&] { return !InstallEnabled(program); }));

    program.Keys('A', true);
    EXPECT_TRUE(WaitFor([&] { return InstallEnabled(program); })) << "Ctrl+A ticks all";
    // The edit shortcuts change nothing.
    const std::map<std::string, std::string> before = FolderContents(m_content.Path());
    const struct
    {
        UINT nKey;
        bool bControl, bShift, bAlt;
    } editKeys[] = { { 'C', true, false, false }, { VK_INSERT, true, false, false },
                     { 'X', true, false, false }, { VK_DELETE, false, true, false },
                     { 'V', true, false, false }, { VK_INSERT, false, true, false },
                     { 'Z', true, false, false }, { VK_BACK, false, false, true } };
    for (const auto& k : editKeys)
        program.Keys(k.nKey, k.bControl, k.bShift, k.bAlt);
    // The buttons follow at the program's next idle moment: a change would
    // show within a second.
    const auto staysEnabled = [&] { return !WaitFor([&] { return !InstallEnabled(program); }, 1000); };
    EXPECT_TRUE(staysEnabled()) << "the ticks stay";
    // Save writes nothing anywhere, and asks nothing (a dialog would leave
    // the main window disabled).
    const std::map<std::string, std::string> stampsBefore = StampsOfEveryPlace(working.Path());
    program.Keys('S', true);
    EXPECT_EQ(stampsBefore, StampsOfEveryPlace(working.Path()));
    EXPECT_EQ(before, FolderContents(m_content.Path()));
    EXPECT_TRUE(staysEnabled());

    // New scans the folder again and loses the ticks: with the files gone,
    // there is nothing left to tick; a file added since is found.
    for (const auto& file : before)
        ASSERT_TRUE(DeleteFileA(file.first.c_str())) << file.first;
    program.Keys('N', true);
    EXPECT_TRUE(WaitFor([&] { return !InstallEnabled(program); })) << "Ctrl+N loses the ticks";
    program.Keys('A', true);
    EXPECT_FALSE(WaitFor([&] { return InstallEnabled(program); }, 1000)) << "Ctrl+N rescans: the files are gone";
    AddContent("added.kda", 5000);
    program.Keys('N', true);
    program.Keys('A', true);
    EXPECT_TRUE(WaitFor([&] { return InstallEnabled(program); })) << "the file added since is in the list";

    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
}

TEST_F(ProgramTest, TheAboutBox)
{
    CProgramProcess program(m_content.Path());
    ASSERT_NE(nullptr, program.MainWindow());
    for (int nWay = 0; nWay < 2; ++nWay) {
        program.Command(ID_APP_ABOUT);
        HWND hAbout = nullptr;
        ASSERT_TRUE(WaitFor([&] {
            for (HWND hWnd : ShownWindowsOf(program.ProcessId()))
                hAbout = ::GetDlgItem(hWnd, IDC_ABOUT_VERSION) != nullptr ? hWnd : hAbout;
            return hAbout != nullptr;
        }));
        EXPECT_EQ(InUsersSet("關於 Lexora字庫安裝程式", "关于 Lexora字库安装程序"), WindowTextOf(hAbout));
        EXPECT_EQ(InUsersSet("Lexora字庫安裝程式 Version " TARNIX_VERSION_TEXT,
                             "Lexora字库安装程序 Version " TARNIX_VERSION_TEXT),
                  WindowTextOf(::GetDlgItem(hAbout, IDC_ABOUT_VERSION)));
        EXPECT_FALSE(WindowTextOf(::GetDlgItem(hAbout, IDC_ABOUT_NOTICE)).empty());
        EXPECT_FALSE(::IsWindowEnabled(program.MainWindow())) << "the About box is modal";
        if (nWay == 0)
            ::PostMessageA(::GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0);
        else
            ::PostMessageA(::GetDlgItem(hAbout, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hAbout); })) << (nWay == 0 ? "OK" : "Esc");
    }
    EXPECT_TRUE(::IsWindowEnabled(program.MainWindow()));
}

// The file's version record carries the project's version, in both
// language sets' blocks, as Explorer and the uninstall entry show it.
TEST_F(ProgramTest, TheVersionRecord)
{
    const std::string strProgram = TARNIX_PROGRAM_PATH;
    DWORD dwIgnored = 0;
    const DWORD cbRecord = ::GetFileVersionInfoSizeA(strProgram.c_str(), &dwIgnored);
    ASSERT_NE(0u, cbRecord) << ::GetLastError();
    std::vector<char> record(cbRecord);
    ASSERT_TRUE(::GetFileVersionInfoA(strProgram.c_str(), 0, cbRecord, record.data()));

    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT cbFixed = 0;
    ASSERT_TRUE(::VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&pFixed), &cbFixed));
    const std::string strFixed = std::to_string(HIWORD(pFixed->dwProductVersionMS)) + "."
                                 + std::to_string(LOWORD(pFixed->dwProductVersionMS)) + "."
                                 + std::to_string(HIWORD(pFixed->dwProductVersionLS)) + "."
                                 + std::to_string(LOWORD(pFixed->dwProductVersionLS));
    EXPECT_EQ(TARNIX_VERSION_RECORD_TEXT, strFixed);
    EXPECT_EQ(0u, std::string(TARNIX_VERSION_RECORD_TEXT).find(TARNIX_VERSION_TEXT));

    for (const char* pszBlock : { "040404B0", "080404B0" }) {
        char* pszValue = nullptr;
        UINT cchValue = 0;
        const std::string strKey = std::string("\\StringFileInfo\\") + pszBlock + "\\ProductVersion";
        ASSERT_TRUE(::VerQueryValueA(record.data(), strKey.c_str(), reinterpret_cast<void**>(&pszValue), &cchValue))
            << pszBlock;
        EXPECT_STREQ(TARNIX_VERSION_TEXT, pszValue) << pszBlock;
    }
}

TEST_F(ProgramTest, TheListTakesTwoThirdsOfTheWidth)
{
    // Each pane has a sunken border of 2 pixels on either side; the
    // splitter bar between them is 7 pixels wide.
    constexpr int PANE_BORDERS = 4;
    constexpr int SPLITTER_BAR = 7;
    for (int cxClient : { 300, 301 }) {
        CProgramProcess program(m_content.Path(), cxClient);
        ASSERT_NE(nullptr, program.MainWindow());
        RECT rcClient;
        ::GetClientRect(program.MainWindow(), &rcClient);
        ASSERT_EQ(cxClient, rcClient.right) << "the size asked for";
        RECT rcList, rcPane;
        ::GetWindowRect(program.ListView(), &rcList);
        ::GetWindowRect(program.DestinationPane(), &rcPane);
        EXPECT_EQ(200, rcList.right - rcList.left + PANE_BORDERS) << cxClient;
        EXPECT_EQ(cxClient - 200 - SPLITTER_BAR, rcPane.right - rcPane.left + PANE_BORDERS)
            << cxClient << ": the rest, after the bar";
    }
}

TEST_F(ProgramTest, AMissingContentFolderGivesAnEmptyListAndAWorkingProgram)
{
    CProgramProcess program("Z:\\no\\such\\folder");
    ASSERT_NE(nullptr, program.MainWindow());
    program.Keys('A', true);
    ClickFirstRow(program);
    EXPECT_FALSE(WaitFor([&] { return InstallEnabled(program); }, 1000)) << "nothing to tick";
    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
}

TEST_F(ProgramTest, InstallingOntoARemovableDrive)
{
    CTempFolder target("R:\\");
    // The initial destination, third on the command line, without a drive.
    CProgramProcess program(m_content.Path() + ",x," + target.Path().substr(2));
    ASSERT_NE(nullptr, program.MainWindow());
    EXPECT_EQ(target.Path(), WindowTextOf(program.Child(program.DestinationPane(), IDC_PATH_LABEL)));
    program.Keys('A', true);
    ASSERT_TRUE(WaitFor([&] { return InstallEnabled(program); }));
    ::PostMessageA(program.InstallButton(), BM_CLICK, 0, 0);
    const auto source = FolderContents(m_content.Path());
    EXPECT_TRUE(WaitFor([&] {
        std::map<std::string, std::string> copies;
        for (const auto& file : source)
            copies[file.first] =
                FolderContents(target.Path())[target.Path() + file.first.substr(m_content.Path().size())];
        return copies == source;
    })) << "byte-exact copies of every file";
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(program.MainWindow()) != FALSE; })) << "the run ends";

    // F5 builds the tree anew and walks to the initial destination again.
    // A click on the tree's top row, the computer, first.
    const auto label = [&] { return WindowTextOf(program.Child(program.DestinationPane(), IDC_PATH_LABEL)); };
    program.Click(program.Child(program.DestinationPane(), IDC_DEST_TREE), 40, 8);
    ASSERT_TRUE(WaitFor([&] { return label() != target.Path(); }));
    program.Keys(VK_F5);
    EXPECT_TRUE(WaitFor([&] { return label() == target.Path(); })) << label();
    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
}

TEST_F(ProgramTest, InstallingOntoTheHandheld)
{
    // Its only folder chosen with the keys.
    CTempFolder handheld;
    handheld.MakeFolder("Storage");
    CEmulatorProcess emulator(handheld.Path());
    ASSERT_NE(0, emulator.Port());
    UseEndpoint(emulator.Endpoint());
    CProgramProcess program(m_content.Path());
    ASSERT_NE(nullptr, program.MainWindow());
    const HWND hTree = program.Child(program.DestinationPane(), IDC_DEST_TREE);
    for (UINT nKey : { VK_END, VK_RIGHT, VK_RIGHT }) {
        ::PostMessageA(hTree, WM_KEYDOWN, nKey, 0);
        program.WaitUntilIdle();
    }
    program.Keys('A', true);
    ASSERT_TRUE(WaitFor([&] { return InstallEnabled(program); }));
    ::PostMessageA(program.InstallButton(), BM_CLICK, 0, 0);
    const auto source = FolderContents(m_content.Path());
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& file : source) {
            const std::string strName = file.first.substr(m_content.Path().size() + 1);
            if (FolderContents(handheld.PathOf("Storage"))[handheld.PathOf("Storage\\" + strName)] != file.second)
                return false;
        }
        return true;
    })) << "byte-exact copies on the handheld";
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowEnabled(program.MainWindow()) != FALSE; })) << "the run ends";

    // F5 builds the tree twice, looking for the handheld only the second
    // time. Each build adds the program's three images to the system's
    // list anew, so a drive's image moves on by six, not three; the
    // handheld's node, last in the tree, shows the image before a drive's.
    const auto firstDrive = [&] { return TreeView_GetChild(hTree, TreeView_GetRoot(hTree)); };
    const auto lastTopItem = [&] {
        HTREEITEM hItem = TreeView_GetChild(hTree, TreeView_GetRoot(hTree));
        while (HTREEITEM hNext = TreeView_GetNextSibling(hTree, hItem))
            hItem = hNext;
        return hItem;
    };
    const int nDriveImage = program.TreeItemImage(hTree, firstDrive());
    ASSERT_LE(0, nDriveImage);
    ASSERT_EQ(nDriveImage - 1, program.TreeItemImage(hTree, lastTopItem())) << "the handheld's node";
    const int nConnections = emulator.Connections();
    program.Keys(VK_F5);
    EXPECT_TRUE(WaitFor([&] { return emulator.Connections() == nConnections + 1; }));
    EXPECT_TRUE(WaitFor([&] { return program.TreeItemImage(hTree, firstDrive()) == nDriveImage + 6; }))
        << "two builds: the drive's image is " << program.TreeItemImage(hTree, firstDrive()) << ", was " << nDriveImage;
    EXPECT_EQ(nDriveImage + 5, program.TreeItemImage(hTree, lastTopItem())) << "the handheld's node, built last";
    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
    EXPECT_FALSE(WaitFor([&] { return emulator.Connections() > nConnections + 1; }, 1000)) << "and no more";
}

}   // namespace

// The program as a user meets it: started as a process of its own in the
// test prefix, with the removable drives and the emulated handheld, and
// driven through its windows by clicks, keys and menu commands.
#include "tests/platform/rapi/EmulatorProcess.h"

#include "platform/framework/FrameworkIds.h"
#include "res/resource.h"
#include "tests/app/ProgramProcess.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ContentFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

namespace {

// What a folder tree holds: every file's path and bytes.
std::map<std::string, std::string> Snapshot(const std::string& strFolder)
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string strName = found.cFileName;
        if (strName == "." || strName == "..")
            continue;
        const std::string strPath = strFolder + "\\" + strName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const auto inner = Snapshot(strPath);
            files.insert(inner.begin(), inner.end());
        } else {
            std::ifstream file(strPath, std::ios::binary);
            files[strPath] = std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    return files;
}

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

TEST_F(ProgramTest, TheMainWindowAndItsCommands)
{
    CProgramProcess program(m_content.Path());
    ASSERT_NE(nullptr, program.MainWindow());
    EXPECT_EQ(InUsersSet("Lexora字庫安裝程式", "Lexora字库安装程序"), program.Text(program.MainWindow()));

    // Install only while something is ticked.
    ASSERT_TRUE(WaitFor([&] { return !InstallEnabled(program); })) << "nothing is ticked yet";
    ClickFirstRow(program);
    EXPECT_TRUE(WaitFor([&] { return InstallEnabled(program); })) << "a click on a row ticks it";
    ClickFirstRow(program);
    EXPECT_TRUE(WaitFor([&] { return !InstallEnabled(program); }));

    program.Keys('A', true);
    EXPECT_TRUE(WaitFor([&] { return InstallEnabled(program); })) << "Ctrl+A ticks all";
    // The edit shortcuts change nothing.
    const std::map<std::string, std::string> before = Snapshot(m_content.Path());
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
    EXPECT_TRUE(InstallEnabled(program)) << "the ticks stay";
    // Save writes nothing anywhere.
    program.Keys('S', true);
    EXPECT_EQ(before, Snapshot(m_content.Path()));
    EXPECT_TRUE(InstallEnabled(program));
    // New scans again and loses the ticks.
    program.Keys('N', true);
    EXPECT_TRUE(WaitFor([&] { return !InstallEnabled(program); })) << "Ctrl+N rescans";

    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
    EXPECT_TRUE(ShownWindowsOf(program.ProcessId()).empty());
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
        EXPECT_EQ(InUsersSet("關於 Lexora字庫安裝程式", "关于 Lexora字库安装程序"), program.Text(hAbout));
        EXPECT_EQ(InUsersSet("Lexora字庫安裝程式 Version 1.1", "Lexora字库安装程序 Version 1.1"),
                  program.Text(::GetDlgItem(hAbout, IDC_ABOUT_VERSION)));
        EXPECT_FALSE(program.Text(::GetDlgItem(hAbout, IDC_ABOUT_NOTICE)).empty());
        EXPECT_FALSE(::IsWindowEnabled(program.MainWindow())) << "the About box is modal";
        if (nWay == 0)
            ::PostMessageA(::GetDlgItem(hAbout, IDOK), BM_CLICK, 0, 0);
        else
            ::PostMessageA(::GetDlgItem(hAbout, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(hAbout); })) << (nWay == 0 ? "OK" : "Esc");
    }
    EXPECT_TRUE(::IsWindowEnabled(program.MainWindow()));
}

TEST_F(ProgramTest, TheListTakesTwoThirdsOfTheWidth)
{
    for (int cxClient : { 300, 301 }) {
        CProgramProcess program(m_content.Path(), cxClient);
        ASSERT_NE(nullptr, program.MainWindow());
        RECT rcClient;
        ::GetClientRect(program.MainWindow(), &rcClient);
        ASSERT_EQ(cxClient, rcClient.right) << "the size asked for";
        RECT rcList, rcPane;
        ::GetWindowRect(program.ListView(), &rcList);
        ::GetWindowRect(program.DestinationPane(), &rcPane);
        // Each pane has a sunken border of 2 pixels on either side.
        EXPECT_EQ(200, rcList.right - rcList.left + 4) << cxClient;
        EXPECT_EQ(cxClient - 200 - 7, rcPane.right - rcPane.left + 4) << cxClient << ": the rest, after the bar";
    }
}

TEST_F(ProgramTest, AMissingContentFolderGivesAnEmptyListAndAWorkingProgram)
{
    CProgramProcess program("Z:\\no\\such\\folder");
    ASSERT_NE(nullptr, program.MainWindow());
    program.Keys('A', true);
    ClickFirstRow(program);
    EXPECT_FALSE(InstallEnabled(program)) << "nothing to tick";
    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
}

TEST_F(ProgramTest, InstallingOntoARemovableDriveAndTheHandheld)
{
    CTempFolder target("R:\\");
    // The initial destination, third on the command line, without a drive.
    CProgramProcess program(m_content.Path() + ",x," + target.Path().substr(2));
    ASSERT_NE(nullptr, program.MainWindow());
    EXPECT_EQ(target.Path(), program.Text(program.Child(program.DestinationPane(), IDC_PATH_LABEL)));
    program.Keys('A', true);
    ASSERT_TRUE(WaitFor([&] { return InstallEnabled(program); }));
    ::PostMessageA(program.InstallButton(), BM_CLICK, 0, 0);
    const auto source = Snapshot(m_content.Path());
    EXPECT_TRUE(WaitFor([&] {
        std::map<std::string, std::string> copies;
        for (const auto& file : source)
            copies[file.first] = Snapshot(target.Path())[target.Path() + file.first.substr(m_content.Path().size())];
        return copies == source;
    })) << "byte-exact copies of every file";
    // F5 builds the tree anew and walks to the initial destination again.
    program.Keys(VK_F5);
    EXPECT_EQ(target.Path(), program.Text(program.Child(program.DestinationPane(), IDC_PATH_LABEL)));
    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));

    // The handheld, its only folder chosen with the keys.
    CTempFolder handheld;
    handheld.MakeFolder("Storage");
    CEmulatorProcess emulator(handheld.Path());
    ASSERT_NE(0, emulator.Port());
    UseEndpoint(emulator.Endpoint());
    CProgramProcess second(m_content.Path());
    ASSERT_NE(nullptr, second.MainWindow());
    const HWND hTree = second.Child(second.DestinationPane(), IDC_DEST_TREE);
    for (UINT nKey : { VK_END, VK_RIGHT, VK_RIGHT }) {
        ::PostMessageA(hTree, WM_KEYDOWN, nKey, 0);
        second.WaitUntilIdle();
    }
    second.Keys('A', true);
    ASSERT_TRUE(WaitFor([&] { return InstallEnabled(second); }));
    ::PostMessageA(second.InstallButton(), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitFor([&] {
        for (const auto& file : source) {
            const std::string strName = file.first.substr(m_content.Path().size() + 1);
            if (Snapshot(handheld.PathOf("Storage"))[handheld.PathOf("Storage\\" + strName)] != file.second)
                return false;
        }
        return true;
    })) << "byte-exact copies on the handheld";

    // F5 builds the tree twice, looking for the handheld only once, and
    // walks to the initial destination again.
    const int nConnections = emulator.Connections();
    second.Keys(VK_F5);
    EXPECT_TRUE(WaitFor([&] { return emulator.Connections() == nConnections + 1; }));
    second.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, second.WaitForExit(10000));
}

}   // namespace

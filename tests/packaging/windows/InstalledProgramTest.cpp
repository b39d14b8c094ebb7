// The program where the installer put it: it starts from there and lists
// the dictionaries of a content folder. WindowsPackagesTest.sh runs this in
// the prefix it installed the package into.
#include "platform/framework/FrameworkIds.h"
#include "tests/app/ProgramProcess.h"
#include "tests/support/AnsiText.h"
#include "tests/support/ContentFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>

TEST(InstalledProgramTest, StartsAndListsAContentFolder)
{
    CTempFolder content;
    for (int i = 0; i < 3; ++i)
        content.MakeFile("dict" + std::to_string(i) + ".kda",
                         ContentFileBytes(MakeContentHeader("Title " + std::to_string(i)), 1000 + 5000 * i));
    content.MakeFile("notes.txt", "not a dictionary");

    CProgramProcess program(content.Path());
    ASSERT_NE(nullptr, program.MainWindow()) << "the installed program did not start";
    EXPECT_EQ(InUsersSet("Lexora字庫安裝程式", "Lexora字库安装程序"), WindowTextOf(program.MainWindow()));
    // Install is offered once something is ticked: Ctrl+A ticks every row
    // listed, so it comes only with the folder's dictionaries in the list.
    const auto installEnabled = [&] { return ::IsWindowEnabled(program.InstallButton()) != FALSE; };
    ASSERT_TRUE(WaitFor([&] { return !installEnabled(); }));
    program.Keys('A', true);
    EXPECT_TRUE(WaitFor(installEnabled)) << "no dictionary listed";

    program.Command(ID_APP_EXIT);
    EXPECT_EQ(0u, program.WaitForExit(10000));
}

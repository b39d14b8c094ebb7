// Where the program takes the remote API library from: its own folder's
// copy first, the system's otherwise, and never one that only the current
// folder holds.
#include "device/RapiLibrary.h"
#include "device/RapiLink.h"
#include "tests/device/TestCopy.h"
#include "tests/platform/rapi/vendor/RecordingRapi.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {
std::string WindowsPath(std::string strPath)
{
    for (char& ch : strPath)
        if (ch == '/')
            ch = '\\';
    return strPath;
}

std::string LoadedLibrary()
{
    char szLoaded[MAX_PATH] = {};
    if (g_rapiLink.m_hRapiLib)
        GetModuleFileNameA(g_rapiLink.m_hRapiLib, szLoaded, MAX_PATH);
    return szLoaded;
}

std::string SystemLibrary()
{
    char szFolder[MAX_PATH];
    GetSystemDirectoryA(szFolder, MAX_PATH);
    return std::string(szFolder) + "\\rapi.dll";
}

TEST(RapiLibraryTest, TheProgramsOwnCopyComesFirst)
{
    CTempFolder beside, empty;
    beside.MakeFile("rapi.dll", "MZ");
    CTempFolder folderOfThatName;
    folderOfThatName.MakeFolder("rapi.dll");

    EXPECT_EQ(beside.PathOf("rapi.dll"), RapiLibraryPath(beside.Path()));
    EXPECT_EQ(SystemLibrary(), RapiLibraryPath(empty.Path())) << "none beside the program: the system's";
    EXPECT_EQ(SystemLibrary(), RapiLibraryPath(folderOfThatName.Path())) << "a folder is no library";
    EXPECT_EQ(SystemLibrary(), RapiLibraryPath(std::string())) << "the program's folder unknown";
}

// Run in a copy of this test with our stand-in beside it, and the system
// folder of the stand-in holding the library that records its calls: the
// program takes the stand-in, which hands the call on.
TEST(RapiLibraryBeside, TheProgramTakesTheCopyBesideIt)
{
    if (!GetEnvironmentVariableA("TARNIX_EXPECT_BESIDE", nullptr, 0))
        GTEST_SKIP() << "runs in a process of its own";
    EXPECT_EQ(0, lstrcmpiA((ProgramFolder() + "\\rapi.dll").c_str(), LoadedLibrary().c_str())) << LoadedLibrary();
    EXPECT_EQ(RECORDED_LINK_ERROR, g_rapiLink.CeRapiGetError());
}

// Run in a copy of this test alone in its folder, started in a folder that
// holds a rapi.dll.
TEST(RapiLibraryBeside, TheCurrentFolderIsNeverLookedIn)
{
    if (!GetEnvironmentVariableA("TARNIX_EXPECT_SYSTEM", nullptr, 0))
        GTEST_SKIP() << "runs in a process of its own";
    EXPECT_EQ(0, lstrcmpiA(SystemLibrary().c_str(), LoadedLibrary().c_str())) << LoadedLibrary();
}

TEST(RapiLibraryBesideParent, TheProgramsFolderComesFirstTheCurrentOneNever)
{
    const std::string strRecording = WindowsPath(TARNIX_VENDOR_FOLDER) + "\\rapi.dll";
    CTempFolder shipped;
    ASSERT_TRUE(CopyFileA(WindowsPath(TARNIX_STAND_IN_PATH).c_str(), shipped.PathOf("rapi.dll").c_str(), FALSE));
    SetEnvironmentVariableA("TARNIX_RAPI_SYSTEM_FOLDER", WindowsPath(TARNIX_VENDOR_FOLDER).c_str());
    EXPECT_EQ(DWORD(0),
              RunTestCopy(shipped.PathOf("tarnix_beside.exe"), "RapiLibraryBeside.*", "TARNIX_EXPECT_BESIDE"));
    SetEnvironmentVariableA("TARNIX_RAPI_SYSTEM_FOLDER", nullptr);

    CTempFolder alone, current;
    ASSERT_TRUE(CopyFileA(strRecording.c_str(), current.PathOf("rapi.dll").c_str(), FALSE));
    EXPECT_EQ(DWORD(0), RunTestCopy(alone.PathOf("tarnix_alone.exe"), "RapiLibraryBeside.*", "TARNIX_EXPECT_SYSTEM",
                                    current.Path()));
}
}   // namespace

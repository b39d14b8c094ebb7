// What an installation costs: the engine copying 20 files of 20 MiB onto a
// removable drive against the system's own CopyFileA of the same files
// (target: at least 0.9 of its speed), and onto the emulated handheld
// against the remote API's raw 64 KiB writes (target: at least 0.9). Run
// with --peak SIZE it installs one file of SIZE MiB and prints its peak
// working set, for the script that compares 1 MiB with 200 MiB and times
// the native copy.
#include "tests/platform/rapi/EmulatorProcess.h"

#include "device/RapiLink.h"
#include "platform/StdioFile.h"
#include "tests/install/TreeHost.h"
#include "tests/support/BenchReport.h"
#include "tests/support/TempFolder.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr DWORD MIB = 1 << 20;
constexpr int LOCAL_FILES = 20;
constexpr int HANDHELD_FILES = 4;
constexpr int ROUNDS = 3;

// Seconds of work that succeeds; "forever" when it fails.
double Seconds(const std::function<bool()>& fnWork)
{
    bool bDone = false;
    const double dSeconds = SecondsTaken([&] { bDone = fnWork(); });
    return bDone ? dSeconds : 1e9;
}

// Source files of cb bytes each in the folder, written a MiB at a time so
// that making them takes no memory worth measuring; their entries, all
// ticked.
std::vector<ContentEntry> MakeSources(const CTempFolder& folder, int nFiles, DWORD cb)
{
    std::string strBlock(MIB, '\0');
    for (DWORD i = 0; i < MIB; ++i)
        strBlock[i] = static_cast<char>(i * 131 + i / 4093);
    std::vector<ContentEntry> entries(nFiles);
    for (int i = 0; i < nFiles; ++i) {
        const std::string strName = "b" + std::to_string(i) + ".kda";
        const std::string strPath = folder.PathOf(strName);
        CStdioFile file(std::fopen(strPath.c_str(), "wb"));
        for (DWORD cbDone = 0; file.IsValid() && cbDone < cb; cbDone += MIB)
            std::fwrite(strBlock.data(), 1, std::min<DWORD>(MIB, cb - cbDone), file.Get());
        entries[i] = {};
        entries[i].bSelected = 1;
        entries[i].nSize = static_cast<int>(cb);
        std::strcpy(entries[i].szFileName, strName.c_str());
        std::strcpy(entries[i].szPath, strPath.c_str());
    }
    return entries;
}

// Seconds of the engine's run into a folder of a local drive, the tree
// built and the folder chosen beforehand.
double InstallInto(const std::string& strFolder, std::vector<ContentEntry>& entries)
{
    CTreeHost host;
    host.SelectFolder(0xA0 | FNF_NODEVICE, strFolder);
    if (host.Caret() == nullptr)
        return 1e9;
    return Seconds([&] { return host.m_tree.Install(entries.data(), static_cast<int>(entries.size())) == 1; });
}

bool CopyWithTheSystem(const std::string& strFolder, const std::vector<ContentEntry>& entries)
{
    for (const ContentEntry& entry : entries) {
        if (!CopyFileA(entry.szPath, (strFolder + "\\" + entry.szFileName).c_str(), FALSE))
            return false;
    }
    return true;
}

// Writes a round's copies to the disk, untimed: the next round starts with
// no write-back of this one's still to do, which would slow whichever copy
// came next.
void SettleCopies(const std::string& strFolder, const std::vector<ContentEntry>& entries)
{
    for (const ContentEntry& entry : entries) {
        HANDLE hFile = CreateFileA((strFolder + "\\" + entry.szFileName).c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            FlushFileBuffers(hFile);
            CloseHandle(hFile);
        }
    }
}

// Seconds of the engine's run into the handheld folder \\Temp, the tree
// built and the folder chosen beforehand.
double InstallOnHandheld(std::vector<ContentEntry>& entries)
{
    CTreeHost host;
    host.m_tree.SelectPath(0xA0, 0, nullptr);
    CString strDevice;
    strDevice.LoadString(IDS_DEVICE_NAME);
    HTREEITEM hDevice = host.Find(static_cast<LPCSTR>(strDevice));
    if (hDevice == nullptr || !host.ClickButton(hDevice) || host.Find("\\Temp") == nullptr)
        return 1e9;
    host.Click(host.Find("\\Temp"));
    return Seconds([&] { return host.m_tree.Install(entries.data(), static_cast<int>(entries.size())) == 1; });
}

// The same bytes through the remote API's writes of 64 KiB, file by file.
bool WriteRawToHandheld(const std::vector<ContentEntry>& entries)
{
    if (!g_rapiLink.Connect(FALSE))
        return false;
    std::vector<BYTE> block(65536);
    bool bOk = true;
    for (const ContentEntry& entry : entries) {
        std::wstring strPath =
            L"\\Temp\\raw-" + std::wstring(entry.szFileName, entry.szFileName + strlen(entry.szFileName));
        HANDLE hFile = g_rapiLink.CeCreateFile(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                               FILE_ATTRIBUTE_NORMAL, nullptr);
        for (DWORD cbDone = 0; bOk && cbDone < static_cast<DWORD>(entry.nSize); cbDone += 65536) {
            DWORD cbWritten = 0;
            bOk = g_rapiLink.CeWriteFile(hFile, block.data(), 65536, &cbWritten, nullptr) && cbWritten == 65536;
        }
        bOk = g_rapiLink.CeCloseHandle(hFile) && bOk;
    }
    g_rapiLink.CeRapiUninit();
    return bOk;
}

// One file of nMiB installed in a process of its own: its peak working set.
int ReportPeak(int nMiB)
{
    CTempFolder sources("T:\\");
    CTempFolder target("R:\\");
    std::vector<ContentEntry> entries = MakeSources(sources, 1, nMiB * MIB);
    if (InstallInto(target.Path(), entries) >= 1e9)
        return 1;
    PROCESS_MEMORY_COUNTERS after = {};
    after.cb = sizeof(after);
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof(after));
    std::printf("peak working set installing %d MiB: %zu bytes\n", nMiB, static_cast<size_t>(after.PeakWorkingSetSize));
    return 0;
}

}   // namespace

// Ten rounds of one of the two local copies alone, for a profiler to watch:
// "engine" or "system".
int RunForProfile(const std::string& strWhich)
{
    CTempFolder sources("T:\\");
    std::vector<ContentEntry> local = MakeSources(sources, LOCAL_FILES, 20 * MIB);
    for (int nRound = 0; nRound < 10; ++nRound) {
        CTempFolder target("R:\\");
        const double dSeconds = strWhich == "engine" ? InstallInto(target.Path(), local)
                                                     : Seconds([&] { return CopyWithTheSystem(target.Path(), local); });
        std::printf("%s round %d: %.3f s\n", strWhich.c_str(), nRound, dSeconds);
        SettleCopies(target.Path(), local);
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--peak") == 0)
        return ReportPeak(std::atoi(argv[2]));
    if (argc == 3 && std::strcmp(argv[1], "--profile") == 0)
        return RunForProfile(argv[2]);

    CTempFolder sources("T:\\");
    std::vector<ContentEntry> local = MakeSources(sources, LOCAL_FILES, 20 * MIB);
    double dEngine = 1e9, dSystem = 1e9;
    // In the order engine, system, system, engine, and again, each round
    // written to the disk before the next.
    for (int nRound = 0; nRound < 2 * ROUNDS; ++nRound) {
        CTempFolder target("R:\\");
        if (nRound % 4 == 0 || nRound % 4 == 3)
            dEngine = std::min(dEngine, InstallInto(target.Path(), local));
        else
            dSystem = std::min(dSystem, Seconds([&] { return CopyWithTheSystem(target.Path(), local); }));
        SettleCopies(target.Path(), local);
    }
    std::printf("install 20 x 20 MiB onto R: %8.3f s\n", dEngine);
    std::printf("CopyFileA of the same:       %8.3f s\n", dSystem);
    std::printf("engine seconds (for the native copy's ratio): %.6f\n", dEngine);

    CTempFolder handheld("T:\\");
    CEmulatorProcess emulator(handheld.Path());
    UseEndpoint(emulator.Endpoint());
    CTempFolder handheldSources("T:\\");
    std::vector<ContentEntry> toHandheld = MakeSources(handheldSources, HANDHELD_FILES, 20 * MIB);
    double dHandheld = 1e9, dRaw = 1e9;
    for (int nRound = 0; nRound < ROUNDS; ++nRound) {
        dHandheld = std::min(dHandheld, InstallOnHandheld(toHandheld));
        dRaw = std::min(dRaw, Seconds([&] { return WriteRawToHandheld(toHandheld); }));
    }
    std::printf("install 4 x 20 MiB onto the handheld: %8.3f s\n", dHandheld);
    std::printf("raw 64 KiB writes of the same:        %8.3f s\n", dRaw);

    const bool bLocal = ReportRatio("engine / CopyFileA speed", dSystem / dEngine, RatioGoal::AtLeast, 0.9);
    const bool bHandheld = ReportRatio("engine / raw handheld writes speed", dRaw / dHandheld, RatioGoal::AtLeast, 0.9);
    return bLocal && bHandheld ? 0 : 1;
}

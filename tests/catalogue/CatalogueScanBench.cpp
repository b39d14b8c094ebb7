// Scanning a content folder must cost little more than reading it: times
// CTarnixDoc::ScanContent over 20 000 small content files against a plain
// walk of the same folder that opens every file and reads its first 200
// bytes, once with titles in random order and once in reverse order, and
// prints the ratios (target: at most 1.5 each). Exits non-zero when a ratio
// misses the target.
#include "catalogue/TarnixDoc.h"
#include "platform/framework/WinApp.h"
#include "tests/catalogue/GeneratedTitles.h"
#include "tests/support/BenchReport.h"
#include "tests/support/ContentFile.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int FILES = 20000;
constexpr size_t FILE_BYTES = 300;
constexpr int ROUNDS = 3;
constexpr double TARGET = 1.5;
constexpr unsigned SEED = 12;

// Calls onFile with the name of every file of the folder, in the order the
// system lists them.
template <typename FileFunc> void ForEachListedFile(const std::string& strFolder, FileFunc onFile)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            onFile(found.cFileName);
    } while (FindNextFileA(hFind, &found));
    FindClose(hFind);
}

std::string NameOf(int nFile)
{
    char szName[16];
    std::snprintf(szName, sizeof(szName), "c%05d.kda", nFile);
    return szName;
}

void WriteContentFile(const CTempFolder& folder, const std::string& strName, const std::string& strTitle)
{
    folder.MakeFile(strName, ContentFileBytes(MakeContentHeader(strTitle), FILE_BYTES));
}

// FILES content files; the one listed at place i has the title titleAt(i),
// so that an order of titles is an order of the scan. The names list in
// the order they are made; should a listing differ, the titles are written
// again to follow it.
void FillFolder(const CTempFolder& folder, const std::function<std::string(int)>& titleAt)
{
    for (int i = 0; i < FILES; ++i)
        WriteContentFile(folder, NameOf(i), titleAt(i));
    int nListed = 0;
    ForEachListedFile(folder.Path(), [&](const char* pszName) {
        if (pszName != NameOf(nListed))
            WriteContentFile(folder, pszName, titleAt(nListed));
        ++nListed;
    });
}

// The system's own walk over the same files: list the folder, open every
// file, read its first 200 bytes. Returns how many files were read whole.
int WalkAndReadHeaders(const std::string& strFolder)
{
    int nRead = 0;
    ForEachListedFile(strFolder, [&](const char* pszName) {
        const std::string strPath = strFolder + "\\" + pszName;
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return;
        char achHeader[200];
        DWORD cbRead = 0;
        if (ReadFile(hFile, achHeader, sizeof(achHeader), &cbRead, nullptr) && cbRead == sizeof(achHeader))
            ++nRead;
        CloseHandle(hFile);
    });
    return nRead;
}

struct Timing
{
    double dWalk = 1e9;
    double dScan = 1e9;
    bool bComplete = true;
};

// Rounds alternate between the walk and the scan, and the fastest round of
// each counts, so that the file cache and load from elsewhere on the
// machine treat both alike.
Timing Measure(const CTempFolder& folder)
{
    Timing timing;
    CTarnixDoc doc;
    doc.m_strPaths[0] = folder.Path().c_str();
    for (int nRound = 0; nRound < ROUNDS; ++nRound) {
        int nRead = 0;
        timing.dWalk = std::min(timing.dWalk, SecondsTaken([&] { nRead = WalkAndReadHeaders(folder.Path()); }));
        BOOL bScanned = FALSE;
        timing.dScan = std::min(timing.dScan, SecondsTaken([&] { bScanned = doc.ScanContent(".kda"); }));
        timing.bComplete = timing.bComplete && nRead == FILES && bScanned && doc.m_nEntries == FILES;
    }
    return timing;
}

// Prints one case; false when it failed or missed the target.
bool Report(const char* pszCase, const Timing& timing)
{
    const double dRatio = timing.dScan / timing.dWalk;
    std::printf("%s:\n", pszCase);
    std::printf("  catalogue scan, %d files:       %8.3f s\n", FILES, timing.dScan);
    std::printf("  walk and 200-byte reads:         %8.3f s\n", timing.dWalk);
    std::printf("  ratio scan / walk: %.2f (target %.2f)\n", dRatio, TARGET);
    if (!timing.bComplete)
        std::printf("  not every file was read or listed\n");
    return timing.bComplete && dRatio <= TARGET;
}

}   // namespace

int main()
{
    CWinApp app;
    const std::vector<std::string> randomTitles = GenerateTitles(FILES, SEED);
    // One folder for both cases: the system makes a new file in a large
    // folder far more slowly than it rewrites one.
    CTempFolder folder;
    FillFolder(folder, [&](int i) { return randomTitles[i]; });
    bool bMet = Report("titles in random order", Measure(folder));
    FillFolder(folder, [](int i) {
        char szTitle[32];
        std::snprintf(szTitle, sizeof(szTitle), "Title %05d", FILES - i);
        return std::string(szTitle);
    });
    bMet = Report("titles in reverse order", Measure(folder)) && bMet;
    return bMet ? 0 : 1;
}

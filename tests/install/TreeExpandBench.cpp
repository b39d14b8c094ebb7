// What a user waits for when a branch of the destination tree opens: a
// folder of 5,000 folders against the shell's own listing of it (target:
// at most 3 times as long), and a handheld folder of 500 folders against
// one raw listing call of the remote API (shown, no target: each handheld
// child is probed for folders of its own, one remote call each).
#include "tests/platform/rapi/EmulatorProcess.h"

#include "device/RapiLink.h"
#include "shell/IdList.h"
#include "shell/ShellContext.h"
#include "tests/install/TreeHost.h"
#include "tests/support/BenchReport.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int LOCAL_FOLDERS = 5000;
constexpr int HANDHELD_FOLDERS = 500;
constexpr int ROUNDS = 5;
constexpr UINT PANE_FLAGS = 0xA0;

// The shell's own listing of a folder: bind it, fetch every folder item;
// the number of items.
int ListThroughTheShell(const std::string& strFolder)
{
    CComRef<IShellFolder> desktop(g_shellContext.GetDesktopFolder());
    WCHAR szFolder[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, strFolder.c_str(), -1, szFolder, MAX_PATH);
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(desktop.Get()->ParseDisplayName(nullptr, nullptr, szFolder, nullptr, &pidl, nullptr)))
        return 0;
    CIdList folder(pidl);
    IShellFolder* pFolder = nullptr;
    if (FAILED(
            desktop.Get()->BindToObject(folder.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(&pFolder))))
        return 0;
    CComRef<IShellFolder> bound(pFolder);
    IEnumIDList* pEnum = nullptr;
    if (FAILED(bound.Get()->EnumObjects(nullptr, SHCONTF_FOLDERS, &pEnum)) || pEnum == nullptr)
        return 0;
    CComRef<IEnumIDList> listing(pEnum);
    int nItems = 0;
    LPITEMIDLIST pidlItem = nullptr;
    ULONG nFetched = 0;
    while (listing.Get()->Next(1, &pidlItem, &nFetched) == S_OK && nFetched == 1) {
        CIdList item(pidlItem);
        ++nItems;
    }
    return nItems;
}

// Seconds the tree takes to open the branch of strText, in a tree built
// afresh and walked to it first.
double ExpandInTree(UINT nFlags, const std::string& strWalk, const std::string& strText)
{
    CTreeHost host;
    host.m_tree.SelectPath(nFlags, 0, strWalk.c_str());
    HTREEITEM hItem = host.Find(strText);
    if (hItem == nullptr)
        return 1e9;
    return SecondsTaken([&] { host.m_tree.Expand(hItem, TVE_EXPAND); });
}

// Seconds the tree takes to open the handheld's folder \Many.
double ExpandHandheldFolder()
{
    CTreeHost host;
    host.m_tree.SelectPath(PANE_FLAGS, 0, nullptr);
    CString strDevice;
    strDevice.LoadString(IDS_DEVICE_NAME);
    HTREEITEM hDevice = host.Find(static_cast<LPCSTR>(strDevice));
    if (hDevice == nullptr)
        return 1e9;
    host.m_tree.Expand(hDevice, TVE_EXPAND);
    HTREEITEM hMany = host.Find("\\Many");
    return hMany == nullptr ? 1e9 : SecondsTaken([&] { host.m_tree.Expand(hMany, TVE_EXPAND); });
}

double RawHandheldListing()
{
    if (!g_rapiLink.Connect(FALSE))
        return 1e9;
    DWORD nFound = 0;
    LPCE_FIND_DATA pFound = nullptr;
    const double dSeconds = SecondsTaken([&] {
        g_rapiLink.CeFindAllFiles(L"\\Many\\*",
                                  FAF_ATTRIBUTES | FAF_NAME | FAF_FOLDERS_ONLY | FAF_NO_HIDDEN_SYS_ROMMODULES, &nFound,
                                  &pFound);
    });
    g_rapiLink.CeRapiFreeBuffer(pFound);
    g_rapiLink.CeRapiUninit();
    return nFound == HANDHELD_FOLDERS ? dSeconds : 1e9;
}

}   // namespace

int main()
{
    CTempFolder local("R:\\");
    for (int i = 0; i < LOCAL_FOLDERS; ++i)
        local.MakeFolder("many\\folder " + std::to_string(i));
    CTempFolder handheld;
    CEmulatorProcess emulator(handheld.Path());
    for (int i = 0; i < HANDHELD_FOLDERS; ++i)
        handheld.MakeFolder("Many\\folder " + std::to_string(i));
    UseEndpoint(emulator.Endpoint());

    const std::string strMany = local.PathOf("many");
    double dShell = 1e9, dTree = 1e9, dRaw = 1e9, dHandheld = 1e9;
    for (int nRound = 0; nRound < ROUNDS; ++nRound) {
        int nListed = 0;
        dShell = std::min(dShell, SecondsTaken([&] { nListed = ListThroughTheShell(strMany); }));
        if (nListed != LOCAL_FOLDERS) {
            std::printf("the shell listed %d folders of %d\n", nListed, LOCAL_FOLDERS);
            return 1;
        }
        dTree = std::min(dTree, ExpandInTree(PANE_FLAGS | FNF_NODEVICE, strMany.substr(2), strMany));
        dRaw = std::min(dRaw, RawHandheldListing());
        dHandheld = std::min(dHandheld, ExpandHandheldFolder());
    }
    std::printf("shell listing of %d folders:     %8.1f ms\n", LOCAL_FOLDERS, dShell * 1e3);
    std::printf("tree opening the same folder:     %8.1f ms\n", dTree * 1e3);
    std::printf("raw listing of %d handheld folders: %6.1f ms\n", HANDHELD_FOLDERS, dRaw * 1e3);
    std::printf("tree opening the same handheld folder: %6.1f ms (%.1f times the raw listing)\n", dHandheld * 1e3,
                dHandheld / dRaw);
    return ReportRatio("tree / shell listing, 5000 folders", dTree / dShell, RatioGoal::AtMost, 3.0) ? 0 : 1;
}

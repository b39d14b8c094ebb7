// CDestTreeCtrl::Install: the checks before a run, then the run.
#include "install/DestTreeCtrl.h"

#include "device/RapiLink.h"
#include "install/FreeSpace.h"
#include "install/InstallRun.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

#include <string>

namespace {

// Kibibytes, rounded up.
ULONGLONG KiloBytes(ULONGLONG nBytes)
{
    return (nBytes + 1023) / 1024;
}

// Message 401 with the true figures, whatever their size: the string's
// two numbers are written as text.
void ReportNoRoom(ULONGLONG nTotal, ULONGLONG nFree)
{
    CString strFormat;
    strFormat.LoadString(IDS_INSTALL_NO_ROOM);
    std::string strText = static_cast<LPCSTR>(strFormat);
    for (ULONGLONG nKiloBytes : { KiloBytes(nTotal), KiloBytes(nFree) }) {
        const size_t nAt = strText.find("%d");
        if (nAt != std::string::npos)
            strText.replace(nAt, 2, std::to_string(nKiloBytes));
    }
    AfxMessageBox(strText.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

// A folder to install into: a file-system folder, or a folder on the
// handheld below its own node.
bool IsInstallableDestination(CFolderNode* pNode)
{
    if (pNode == nullptr || !pNode->IsFileSystem())
        return false;
    return !pNode->IsOnDevice() || (pNode->GetParent() != nullptr && pNode->GetParent()->IsOnDevice());
}

}   // namespace

int CDestTreeCtrl::Install(const ContentEntry* pEntries, int nEntries)
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    if (!IsInstallableDestination(pNode)) {
        AfxMessageBox(IDS_INSTALL_CHOOSE_FOLDER, MB_OK | MB_ICONEXCLAMATION);
        return INSTALL_STOPPED;
    }
    InstallTarget target = { pNode->IsOnDevice() != FALSE, std::string(pNode->GetPath()) + "\\",
                             pNode->GetDevicePath() };

    int nTicked = 0;
    ULONGLONG nTotal = 0;
    for (int i = 0; i < nEntries; ++i) {
        if (pEntries[i].bSelected != 0) {
            ++nTicked;
            nTotal += static_cast<unsigned>(pEntries[i].nSize);
        }
    }
    if (nTicked == 0)
        return INSTALL_STOPPED;

    if (target.bHandheld) {
        // The device link tells the user itself why the handheld is not there.
        if (!g_rapiLink.Connect(TRUE))
            return INSTALL_STOPPED;
    } else {
        const ULONGLONG nFree = QueryFreeSpace(pNode->GetPath());
        if (nTotal > nFree) {
            ReportNoRoom(nTotal, nFree);
            return INSTALL_STOPPED;
        }
    }

    const int nResult = CInstallRun(target, this, nTicked).CopyTicked(pEntries, nEntries);
    if (target.bHandheld)
        g_rapiLink.CeRapiUninit();
    return nResult;
}

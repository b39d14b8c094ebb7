// CDestTreeCtrl::Install: the checks before a run, then the run.
#include "install/DestTreeCtrl.h"

#include "catalogue/TickedTotals.h"
#include "install/FreeSpace.h"
#include "install/HandheldSession.h"
#include "install/InstallRun.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

#include <string>
#include <vector>

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

// A folder's path with one backslash after it; a drive root has its own.
std::string FolderText(LPCSTR pszPath)
{
    std::string strFolder = pszPath;
    const LPCSTR pszLast = strFolder.empty() ? nullptr : ::CharPrevA(pszPath, pszPath + strFolder.size());
    if (pszLast == nullptr || *pszLast != '\\' || pszLast + 1 != pszPath + strFolder.size())
        strFolder += '\\';
    return strFolder;
}

// The ticked entries, copied: the run pumps messages, and the catalogue it
// was started on must not change under it.
std::vector<ContentEntry> TickedEntries(const ContentEntry* pEntries, int nEntries)
{
    std::vector<ContentEntry> ticked;
    for (int i = 0; i < nEntries; ++i) {
        if (pEntries[i].bSelected != 0)
            ticked.push_back(pEntries[i]);
    }
    return ticked;
}

}   // namespace

int CDestTreeCtrl::Install(const ContentEntry* pEntries, int nEntries)
{
    CFolderNode* pNode = NodeOf(GetSelectedItem());
    if (!IsInstallableDestination(pNode)) {
        AfxMessageBox(IDS_INSTALL_CHOOSE_FOLDER, MB_OK | MB_ICONEXCLAMATION);
        return INSTALL_STOPPED;
    }
    const TICKED_TOTALS totals = SumTickedEntries(pEntries, nEntries);
    if (totals.nCount == 0)
        return INSTALL_STOPPED;

    InstallTarget target;
    target.strFolder = FolderText(pNode->GetPath());
    CHandheldSession session;
    if (pNode->IsOnDevice()) {
        if (!session.Open(TRUE))
            return INSTALL_STOPPED;
        target.strDeviceFolder = pNode->GetDevicePath();
        target.pSession = &session;
    } else {
        const ULONGLONG nFree = QueryFreeSpace(pNode->GetPath());
        if (totals.ullBytes > nFree) {
            ReportNoRoom(totals.ullBytes, nFree);
            return INSTALL_STOPPED;
        }
    }
    return CInstallRun(target, this, totals.nCount).CopyAll(TickedEntries(pEntries, nEntries));
}

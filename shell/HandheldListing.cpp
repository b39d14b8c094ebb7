// CShellFolderNode on the handheld: the device node under the root and the
// handheld's folders below it, listed through the device link.
#include "shell/ShellFolderNode.h"

#include "device/RapiLink.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"
#include "shell/IdList.h"

#include <algorithm>
#include <string>

namespace {

// Listings of folders only, hidden and system ROM entries left out; the
// forecast of a folder's children needs no names.
constexpr DWORD LIST_FOLDER_NAMES = FAF_ATTRIBUTES | FAF_NAME | FAF_FOLDERS_ONLY | FAF_NO_HIDDEN_SYS_ROMMODULES;
constexpr DWORD PROBE_FOLDERS = FAF_ATTRIBUTES | FAF_FOLDERS_ONLY | FAF_NO_HIDDEN_SYS_ROMMODULES;

// The ANSI forms of handheld paths and names are kept in 256 bytes.
constexpr int ANSI_FORM_BYTES = 256;

// The pattern that lists a handheld folder; empty when it would not fit
// the remote API's path.
std::wstring ListingPattern(LPCWSTR pszFolder)
{
    std::wstring strPattern = std::wstring(pszFolder) + L"\\*";
    return strPattern.size() < MAX_PATH ? strPattern : std::wstring();
}

// pszWide in the ANSI code page; FALSE when it needs more than 256 bytes.
BOOL ToAnsiForm(LPCWSTR pszWide, CString& strAnsi)
{
    char szAnsi[ANSI_FORM_BYTES];
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pszWide, -1, szAnsi, sizeof(szAnsi), nullptr, nullptr) == 0)
        return FALSE;
    strAnsi = szAnsi;
    return TRUE;
}

// Whether a listing record names a folder: its name ends within its field
// (a library may hand back a name that runs on into the next record, or
// past the end of the buffer) and is one component of a path.
BOOL IsFolderName(const CE_FIND_DATA& record)
{
    const WCHAR* const pFieldEnd = record.cFileName + MAX_PATH;
    const WCHAR* const pNameEnd = std::find(record.cFileName, pFieldEnd, L'\0');
    if (pNameEnd == pFieldEnd)
        return FALSE;
    const std::wstring strName(record.cFileName, pNameEnd);
    return !strName.empty() && strName != L"." && strName != L".."
           && strName.find_first_of(L"\\/") == std::wstring::npos;
}

// Whether a handheld folder lists any folder of its own.
BOOL HasHandheldSubFolders(const std::wstring& strPattern)
{
    DWORD nFound = 0;
    LPCE_FIND_DATA pFound = nullptr;
    if (!g_rapiLink.CeFindAllFiles(strPattern.c_str(), PROBE_FOLDERS, &nFound, &pFound) || pFound == nullptr)
        return FALSE;
    g_rapiLink.CeRapiFreeBuffer(pFound);
    return nFound > 0;
}

}   // namespace

BOOL ProbeDevice(LPWSTR pszName, int cchName)
{
    if (g_rapiLink.m_hRapiLib == nullptr)
        return FALSE;
    // The name is read as the UTF-16 text the resources hold: the handheld
    // node reads right in either language set, whatever the system's code
    // page.
    pszName[0] = L'\0';
    ::LoadStringW(AfxGetResourceHandle(), IDS_DEVICE_NAME, pszName, cchName);
    if (!g_rapiLink.Connect(FALSE))
        return FALSE;
    g_rapiLink.CeRapiUninit();
    return TRUE;
}

void CShellFolderNode::AddDeviceNode()
{
    WCHAR szName[MAX_PATH] = {};
    if (!ProbeDevice(szName, MAX_PATH))
        return;
    LPITEMIDLIST pidlName = MakeNameIdList(szName);
    if (pidlName == nullptr)
        return;
    auto pDevice = std::make_unique<CShellFolderNode>(
        this, pidlName, (m_nFlags | FNF_ONDEVICE | FNF_DEVICEROOT) & ~FNF_HASCHILDREN, m_nDepth + 1, m_nEnumLevels - 1);
    if (!pDevice->SetDevicePath(nullptr, szName))
        return;
    Adopt(std::move(pDevice));
    m_nFlags |= FNF_HASCHILDREN;
}

void CShellFolderNode::ListHandheldFolders()
{
    // The device link tells the user itself when the handheld does not
    // answer; a failed attempt leaves no session to end.
    if (g_rapiLink.Connect(TRUE)) {
        const std::wstring strPattern = ListingPattern(m_szDevicePath);
        DWORD nFound = 0;
        LPCE_FIND_DATA pFound = nullptr;
        if (!strPattern.empty() && g_rapiLink.CeFindAllFiles(strPattern.c_str(), LIST_FOLDER_NAMES, &nFound, &pFound)
            && pFound != nullptr) {
            for (DWORD i = 0; i < nFound; ++i) {
                if (IsFolderName(pFound[i]))
                    AddHandheldChild(pFound[i].cFileName);
            }
            m_nFlags |= FNF_HASCHILDREN;
            g_rapiLink.CeRapiFreeBuffer(pFound);
        }
        g_rapiLink.CeRapiUninit();
    }
    if (m_children.empty())
        m_nFlags &= ~FNF_HASCHILDREN;
}

void CShellFolderNode::AddHandheldChild(LPCWSTR pszName)
{
    LPITEMIDLIST pidlName = MakeNameIdList(pszName);
    if (pidlName == nullptr)
        return;
    auto pChild = std::make_unique<CShellFolderNode>(this, pidlName, m_nFlags & ~(FNF_HASCHILDREN | FNF_DEVICEROOT),
                                                     m_nDepth + 1, m_nEnumLevels - 1);
    if (pChild->SetDevicePath(m_szDevicePath, pszName))
        Adopt(std::move(pChild));
}

BOOL CShellFolderNode::SetDevicePath(LPCWSTR pszParentPath, LPCWSTR pszName)
{
    if (pszParentPath != nullptr) {
        const std::wstring strPath = std::wstring(pszParentPath) + L"\\" + pszName;
        const std::wstring strPattern = ListingPattern(strPath.c_str());
        if (strPattern.empty())
            return FALSE;
        wcscpy(m_szDevicePath, strPath.c_str());
        if (HasHandheldSubFolders(strPattern))
            m_nFlags |= FNF_HASCHILDREN;
    } else {
        m_szDevicePath[0] = L'\0';
        m_nFlags |= FNF_HASCHILDREN;
    }
    if (m_szDevicePath[0] == L'\0')
        m_strPath = "\\";
    else if (!ToAnsiForm(m_szDevicePath, m_strPath))
        return FALSE;
    return ToAnsiForm(pszName, m_strDisplayName);
}

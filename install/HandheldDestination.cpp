#include "install/HandheldDestination.h"

#include "device/RapiLink.h"

#include <cstring>

namespace {

// The code page of file names on the handheld.
constexpr UINT HANDHELD_CODE_PAGE = 950;
// Room for a converted file name, and the longest path the remote API takes.
constexpr int NAME_UNITS = 100;
constexpr size_t PATH_UNITS = 256;

}   // namespace

std::wstring HandheldFilePath(LPCWSTR pszFolder, const char* pszFileName)
{
    WCHAR szName[NAME_UNITS] = {};
    const int cchName = ::MultiByteToWideChar(HANDHELD_CODE_PAGE, MB_ERR_INVALID_CHARS, pszFileName,
                                              static_cast<int>(std::strlen(pszFileName)), szName, NAME_UNITS);
    if (cchName <= 0)
        return std::wstring();
    std::wstring strPath = std::wstring(pszFolder) + L"\\" + std::wstring(szName, cchName);
    return strPath.size() <= PATH_UNITS ? strPath : std::wstring();
}

std::unique_ptr<CHandheldDestination> CHandheldDestination::Open(LPCWSTR pszFolder, const char* pszFileName,
                                                                 CHandheldSession& session)
{
    const std::wstring strPath = HandheldFilePath(pszFolder, pszFileName);
    if (strPath.empty())
        return nullptr;
    // Created when missing, emptied when there: the copy is the source's
    // bytes and nothing after them.
    HANDLE hFile = g_rapiLink.CeCreateFile(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        session.NoteFailedCall();
        return nullptr;
    }
    return std::unique_ptr<CHandheldDestination>(new CHandheldDestination(strPath, hFile, session));
}

CHandheldDestination::~CHandheldDestination()
{
    Close();
}

DWORD CHandheldDestination::Write(const BYTE* pData, DWORD cb)
{
    DWORD cbWritten = 0;
    g_rapiLink.CeWriteFile(m_hFile, pData, cb, &cbWritten, nullptr);
    if (cbWritten != cb)
        m_session.NoteFailedCall();
    return cbWritten;
}

BOOL CHandheldDestination::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return TRUE;
    const BOOL bClosed = g_rapiLink.CeCloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    if (!bClosed)
        m_session.NoteFailedCall();
    return bClosed;
}

BOOL CHandheldDestination::Delete()
{
    Close();
    if (DeleteRemote())
        return TRUE;
    // A link that broke mid-file is opened anew, when the handheld is back,
    // so that no partial file stays behind; a handheld that merely refused
    // costs no new session.
    if (m_session.IsLinkDown()) {
        if (!m_session.Open(FALSE))
            return FALSE;
        if (DeleteRemote())
            return TRUE;
    }
    return !IsListed();
}

BOOL CHandheldDestination::DeleteRemote()
{
    if (g_rapiLink.CeDeleteFile(m_strPath.c_str()))
        return TRUE;
    m_session.NoteFailedCall();
    return FALSE;
}

BOOL CHandheldDestination::IsListed()
{
    DWORD nFound = 0;
    LPCE_FIND_DATA pFound = nullptr;
    // Where the handheld cannot tell, the file may well be there.
    if (!g_rapiLink.CeFindAllFiles(m_strPath.c_str(), FAF_NAME, &nFound, &pFound))
        return TRUE;
    if (pFound != nullptr)
        g_rapiLink.CeRapiFreeBuffer(pFound);
    return nFound > 0;
}

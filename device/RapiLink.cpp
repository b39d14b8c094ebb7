#include "device/RapiLink.h"

#include "device/RapiLibrary.h"

#include "platform/framework/afxwin.h"
#include "res/resource.h"

CRapiLink g_rapiLink;

namespace {
// How long the user waits for a handheld to answer before being told.
constexpr DWORD CONNECT_WAIT_MS = 2000;

template <typename Pointer> void LoadEntryPoint(HMODULE hLib, const char* pszName, Pointer& pfn)
{
    pfn = reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(hLib, pszName)));
}

DWORD WaitUnderWaitCursor(HANDLE hEvent)
{
    CWaitCursor waitCursor;
    return WaitForSingleObject(hEvent, CONNECT_WAIT_MS);
}

// dwWait is the outcome of a wait that did not end in an open session.
void ReportConnectFailure(DWORD dwWait)
{
    if (dwWait == WAIT_TIMEOUT)
        AfxMessageBox(IDS_DEVICE_NOT_ANSWERING, MB_OK);
    else if (dwWait == WAIT_OBJECT_0)
        AfxMessageBox(IDS_DEVICE_LINK_FAILED, MB_OK);
    else
        AfxMessageBox("Could not wait on event", MB_OK);
}
}   // namespace

CRapiLink::CRapiLink()
    : m_hRapiLib(nullptr), m_pfnCeRapiInitEx(nullptr), m_pfnCeCreateFile(nullptr), m_pfnCeWriteFile(nullptr),
      m_pfnCeCloseHandle(nullptr), m_pfnCeDeleteFile(nullptr), m_pfnCeRapiFreeBuffer(nullptr),
      m_pfnCeFindAllFiles(nullptr), m_pfnCeRapiUninit(nullptr), m_pfnCeRapiGetError(nullptr)
{
    const std::string strPath = RapiLibraryPath(ProgramFolder());
    if (strPath.empty())
        return;
    // The library's own dependencies are looked for beside it first.
    m_hRapiLib = LoadLibraryExA(strPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!m_hRapiLib)
        return;
    LoadEntryPoint(m_hRapiLib, "CeRapiInitEx", m_pfnCeRapiInitEx);
    LoadEntryPoint(m_hRapiLib, "CeCreateFile", m_pfnCeCreateFile);
    LoadEntryPoint(m_hRapiLib, "CeWriteFile", m_pfnCeWriteFile);
    LoadEntryPoint(m_hRapiLib, "CeCloseHandle", m_pfnCeCloseHandle);
    LoadEntryPoint(m_hRapiLib, "CeDeleteFile", m_pfnCeDeleteFile);
    LoadEntryPoint(m_hRapiLib, "CeRapiFreeBuffer", m_pfnCeRapiFreeBuffer);
    LoadEntryPoint(m_hRapiLib, "CeFindAllFiles", m_pfnCeFindAllFiles);
    LoadEntryPoint(m_hRapiLib, "CeRapiUninit", m_pfnCeRapiUninit);
    LoadEntryPoint(m_hRapiLib, "CeRapiGetError", m_pfnCeRapiGetError);
}

CRapiLink::~CRapiLink()
{
    if (m_hRapiLib)
        FreeLibrary(m_hRapiLib);
}

// An attempt that did not come up is ended here: left running, it could
// still complete into the record of this call, long gone, and every later
// Connect would find the library initialised and fail.
BOOL CRapiLink::Connect(BOOL bShowErrors)
{
    RAPIINIT init = { sizeof(RAPIINIT), nullptr, S_OK };
    if (!m_pfnCeRapiInitEx || FAILED(m_pfnCeRapiInitEx(&init))) {
        if (bShowErrors)
            AfxMessageBox(IDS_DEVICE_INIT_FAILED, MB_OK);
        return FALSE;
    }
    DWORD dwWait = WaitUnderWaitCursor(init.heRapiInit);
    if (dwWait == WAIT_OBJECT_0 && SUCCEEDED(init.hrRapiInit))
        return TRUE;
    CeRapiUninit();
    if (bShowErrors)
        ReportConnectFailure(dwWait);
    return FALSE;
}

HRESULT CRapiLink::CeRapiUninit()
{
    return m_pfnCeRapiUninit ? m_pfnCeRapiUninit() : E_FAIL;
}

HANDLE CRapiLink::CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                               LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition,
                               DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    if (!m_pfnCeCreateFile)
        return INVALID_HANDLE_VALUE;
    return m_pfnCeCreateFile(pszFileName, dwDesiredAccess, dwShareMode, pSecurityAttributes, dwCreationDisposition,
                             dwFlagsAndAttributes, hTemplateFile);
}

BOOL CRapiLink::CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                            LPOVERLAPPED pOverlapped)
{
    if (m_pfnCeWriteFile)
        return m_pfnCeWriteFile(hFile, pBuffer, nNumberOfBytesToWrite, pNumberOfBytesWritten, pOverlapped);
    if (pNumberOfBytesWritten)
        *pNumberOfBytesWritten = 0;
    return FALSE;
}

BOOL CRapiLink::CeCloseHandle(HANDLE hObject)
{
    return m_pfnCeCloseHandle ? m_pfnCeCloseHandle(hObject) : FALSE;
}

BOOL CRapiLink::CeDeleteFile(LPCWSTR pszFileName)
{
    return m_pfnCeDeleteFile ? m_pfnCeDeleteFile(pszFileName) : FALSE;
}

HRESULT CRapiLink::CeRapiFreeBuffer(LPVOID pBuffer)
{
    return m_pfnCeRapiFreeBuffer ? m_pfnCeRapiFreeBuffer(pBuffer) : E_FAIL;
}

BOOL CRapiLink::CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray)
{
    if (m_pfnCeFindAllFiles)
        return m_pfnCeFindAllFiles(pszPath, dwFlags, pdwFoundCount, ppFindDataArray);
    if (pdwFoundCount)
        *pdwFoundCount = 0;
    if (ppFindDataArray)
        *ppFindDataArray = nullptr;
    return FALSE;
}

HRESULT CRapiLink::CeRapiGetError()
{
    return m_pfnCeRapiGetError ? m_pfnCeRapiGetError() : S_OK;
}

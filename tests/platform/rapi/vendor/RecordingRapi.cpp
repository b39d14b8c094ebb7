#include "tests/platform/rapi/vendor/RecordingRapi.h"

namespace {
std::string g_strCalls;
HANDLE g_hAnswered = nullptr;
CE_FIND_DATA g_records[RECORDED_LISTING_COUNT];

void Record(const std::string& strCall)
{
    g_strCalls += strCall + "\n";
}
}   // namespace

extern "C" {
// Every call so far, one a line, in the order they came.
const char* WINAPI RecordedCalls(void)
{
    return g_strCalls.c_str();
}

// The event is set at once: the handheld has answered.
HRESULT WINAPI CeRapiInitEx(RAPIINIT* pRapiInit)
{
    Record("CeRapiInitEx" + Hex(pRapiInit));
    g_hAnswered = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    pRapiInit->heRapiInit = g_hAnswered;
    pRapiInit->hrRapiInit = RECORDED_HANDHELD_RESULT;
    return RECORDED_INIT_RESULT;
}

HRESULT WINAPI CeRapiUninit(void)
{
    Record("CeRapiUninit");
    CloseHandle(g_hAnswered);
    g_hAnswered = nullptr;
    return RECORDED_UNINIT_RESULT;
}

HRESULT WINAPI CeRapiFreeBuffer(LPVOID pBuffer)
{
    Record("CeRapiFreeBuffer" + Hex(pBuffer));
    return RECORDED_FREE_RESULT;
}

DWORD WINAPI CeGetLastError(void)
{
    Record("CeGetLastError");
    return RECORDED_LAST_ERROR;
}

HRESULT WINAPI CeRapiGetError(void)
{
    Record("CeRapiGetError");
    return RECORDED_LINK_ERROR;
}

BOOL WINAPI CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray)
{
    Record("CeFindAllFiles" + PathArgument(pszPath) + Hex(dwFlags) + Hex(pdwFoundCount) + Hex(ppFindDataArray));
    *pdwFoundCount = RECORDED_LISTING_COUNT;
    *ppFindDataArray = g_records;
    return RECORDED_LISTING_RESULT;
}

HANDLE WINAPI CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                           LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition,
                           DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    Record("CeCreateFile" + PathArgument(pszFileName) + Hex(dwDesiredAccess) + Hex(dwShareMode)
           + Hex(pSecurityAttributes) + Hex(dwCreationDisposition) + Hex(dwFlagsAndAttributes) + Hex(hTemplateFile));
    return reinterpret_cast<HANDLE>(RECORDED_FILE_HANDLE);
}

// Claims one byte less than asked, so that the count is seen to come back.
BOOL WINAPI CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                        LPOVERLAPPED pOverlapped)
{
    Record("CeWriteFile" + Hex(hFile) + Hex(pBuffer) + Hex(nNumberOfBytesToWrite) + Hex(pNumberOfBytesWritten)
           + Hex(pOverlapped));
    *pNumberOfBytesWritten = nNumberOfBytesToWrite - 1;
    return RECORDED_WRITE_RESULT;
}

BOOL WINAPI CeCloseHandle(HANDLE hObject)
{
    Record("CeCloseHandle" + Hex(hObject));
    return RECORDED_CLOSE_RESULT;
}

// Fails, so that a failure is seen to come back as well.
BOOL WINAPI CeDeleteFile(LPCWSTR pszFileName)
{
    Record("CeDeleteFile" + PathArgument(pszFileName));
    return FALSE;
}
}

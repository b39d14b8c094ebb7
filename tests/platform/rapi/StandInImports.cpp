// The entry points of the rapi.dll in the system directory, taken the way
// the program takes them (by name, at run time) and offered under their
// own names, so the tests call the functions rapi.h declares. A test built
// with TARNIX_STAND_IN_PATH takes that library instead: the tests' build of
// the stand-in, which has their seams.
#include "tests/platform/rapi/StandInSession.h"

namespace {
template <typename Pointer> Pointer EntryPoint(const char* pszName)
{
    return reinterpret_cast<Pointer>(reinterpret_cast<void*>(GetProcAddress(StandInLibrary(), pszName)));
}
}   // namespace

HMODULE StandInLibrary()
{
    static HMODULE s_hLib = [] {
        char szPath[MAX_PATH];
#ifdef TARNIX_STAND_IN_PATH
        lstrcpynA(szPath, TARNIX_STAND_IN_PATH, MAX_PATH);
        for (char* p = szPath; *p != '\0'; ++p)
            if (*p == '/')
                *p = '\\';
#else
        GetSystemDirectoryA(szPath, MAX_PATH - 10);
        lstrcatA(szPath, "\\rapi.dll");
#endif
        return LoadLibraryA(szPath);
    }();
    return s_hLib;
}

HRESULT WINAPI CeRapiInitEx(RAPIINIT* pRapiInit)
{
    static auto pfn = EntryPoint<decltype(&CeRapiInitEx)>("CeRapiInitEx");
    return pfn(pRapiInit);
}

HRESULT WINAPI CeRapiUninit(void)
{
    static auto pfn = EntryPoint<decltype(&CeRapiUninit)>("CeRapiUninit");
    return pfn();
}

HRESULT WINAPI CeRapiFreeBuffer(LPVOID pBuffer)
{
    static auto pfn = EntryPoint<decltype(&CeRapiFreeBuffer)>("CeRapiFreeBuffer");
    return pfn(pBuffer);
}

DWORD WINAPI CeGetLastError(void)
{
    static auto pfn = EntryPoint<decltype(&CeGetLastError)>("CeGetLastError");
    return pfn();
}

HRESULT WINAPI CeRapiGetError(void)
{
    static auto pfn = EntryPoint<decltype(&CeRapiGetError)>("CeRapiGetError");
    return pfn();
}

BOOL WINAPI CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray)
{
    static auto pfn = EntryPoint<decltype(&CeFindAllFiles)>("CeFindAllFiles");
    return pfn(pszPath, dwFlags, pdwFoundCount, ppFindDataArray);
}

HANDLE WINAPI CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                           LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition,
                           DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    static auto pfn = EntryPoint<decltype(&CeCreateFile)>("CeCreateFile");
    return pfn(pszFileName, dwDesiredAccess, dwShareMode, pSecurityAttributes, dwCreationDisposition,
               dwFlagsAndAttributes, hTemplateFile);
}

BOOL WINAPI CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                        LPOVERLAPPED pOverlapped)
{
    static auto pfn = EntryPoint<decltype(&CeWriteFile)>("CeWriteFile");
    return pfn(hFile, pBuffer, nNumberOfBytesToWrite, pNumberOfBytesWritten, pOverlapped);
}

BOOL WINAPI CeCloseHandle(HANDLE hObject)
{
    static auto pfn = EntryPoint<decltype(&CeCloseHandle)>("CeCloseHandle");
    return pfn(hObject);
}

BOOL WINAPI CeDeleteFile(LPCWSTR pszFileName)
{
    static auto pfn = EntryPoint<decltype(&CeDeleteFile)>("CeDeleteFile");
    return pfn(pszFileName);
}

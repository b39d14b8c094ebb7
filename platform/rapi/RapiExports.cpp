// The exported functions of the stand-in library: each is handed on
// unchanged to the system's own remote API library where there is one,
// and served by the stand-in otherwise.
#include "platform/rapi/StandInCalls.h"
#include "platform/rapi/VendorRapi.h"

namespace {
template <auto pfnVendor, auto pfnStandIn, typename... Args> auto Route(Args... args)
{
    const VendorRapi* pVendor = TheVendorRapi();
    return pVendor ? (pVendor->*pfnVendor)(args...) : pfnStandIn(args...);
}
}   // namespace

HRESULT WINAPI CeRapiInitEx(RAPIINIT* pRapiInit)
{
    return Route<&VendorRapi::pfnCeRapiInitEx, StandIn::CeRapiInitEx>(pRapiInit);
}

HRESULT WINAPI CeRapiUninit(void)
{
    return Route<&VendorRapi::pfnCeRapiUninit, StandIn::CeRapiUninit>();
}

HRESULT WINAPI CeRapiFreeBuffer(LPVOID pBuffer)
{
    return Route<&VendorRapi::pfnCeRapiFreeBuffer, StandIn::CeRapiFreeBuffer>(pBuffer);
}

DWORD WINAPI CeGetLastError(void)
{
    return Route<&VendorRapi::pfnCeGetLastError, StandIn::CeGetLastError>();
}

HRESULT WINAPI CeRapiGetError(void)
{
    return Route<&VendorRapi::pfnCeRapiGetError, StandIn::CeRapiGetError>();
}

BOOL WINAPI CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray)
{
    return Route<&VendorRapi::pfnCeFindAllFiles, StandIn::CeFindAllFiles>(pszPath, dwFlags, pdwFoundCount,
                                                                          ppFindDataArray);
}

HANDLE WINAPI CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                           LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition,
                           DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    return Route<&VendorRapi::pfnCeCreateFile, StandIn::CeCreateFile>(pszFileName, dwDesiredAccess, dwShareMode,
                                                                      pSecurityAttributes, dwCreationDisposition,
                                                                      dwFlagsAndAttributes, hTemplateFile);
}

BOOL WINAPI CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                        LPOVERLAPPED pOverlapped)
{
    return Route<&VendorRapi::pfnCeWriteFile, StandIn::CeWriteFile>(hFile, pBuffer, nNumberOfBytesToWrite,
                                                                    pNumberOfBytesWritten, pOverlapped);
}

BOOL WINAPI CeCloseHandle(HANDLE hObject)
{
    return Route<&VendorRapi::pfnCeCloseHandle, StandIn::CeCloseHandle>(hObject);
}

BOOL WINAPI CeDeleteFile(LPCWSTR pszFileName)
{
    return Route<&VendorRapi::pfnCeDeleteFile, StandIn::CeDeleteFile>(pszFileName);
}

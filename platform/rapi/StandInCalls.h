// The remote API as the stand-in itself serves it, over its loopback
// protocol: the functions of rapi.h under the same names and signatures.
#pragma once

#include "platform/rapi/rapi.h"

namespace StandIn {
HRESULT CeRapiInitEx(RAPIINIT* pRapiInit);
HRESULT CeRapiUninit();
HRESULT CeRapiFreeBuffer(LPVOID pBuffer);
DWORD CeGetLastError();
HRESULT CeRapiGetError();
BOOL CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray);
HANDLE CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                    LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                    HANDLE hTemplateFile);
BOOL CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                 LPOVERLAPPED pOverlapped);
BOOL CeCloseHandle(HANDLE hObject);
BOOL CeDeleteFile(LPCWSTR pszFileName);
}   // namespace StandIn

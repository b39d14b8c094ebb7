// The link to the handheld: the remote API library, loaded at start from
// the program's folder or else the system directory (RapiLibrary.h), its
// entry points, and Connect, which opens a remote session and waits for
// the handheld to answer. The library is optional; without it m_hRapiLib
// is null and no handheld is ever offered.
#pragma once

#include "platform/rapi/rapi.h"

class CRapiLink
{
public:
    CRapiLink();
    virtual ~CRapiLink();
    CRapiLink(const CRapiLink&) = delete;
    CRapiLink& operator=(const CRapiLink&) = delete;

    // TRUE when the handheld answered within two seconds; the caller then
    // owns the session and ends it with CeRapiUninit. On FALSE no session
    // is left open. bShowErrors FALSE fails without a word.
    BOOL Connect(BOOL bShowErrors);

    // The entry points, for callers. A missing one fails like the call
    // itself failing: an invalid handle, nothing written, FALSE.
    HRESULT CeRapiUninit();
    HANDLE CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                        LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition,
                        DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
    BOOL CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                     LPOVERLAPPED pOverlapped);
    BOOL CeCloseHandle(HANDLE hObject);
    BOOL CeDeleteFile(LPCWSTR pszFileName);
    HRESULT CeRapiFreeBuffer(LPVOID pBuffer);
    BOOL CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray);
    // Whether the last call failed because the link did, not the handheld;
    // a library without the entry point never says so.
    HRESULT CeRapiGetError();

    HMODULE m_hRapiLib;
    decltype(&::CeRapiInitEx) m_pfnCeRapiInitEx;
    decltype(&::CeCreateFile) m_pfnCeCreateFile;
    decltype(&::CeWriteFile) m_pfnCeWriteFile;
    decltype(&::CeCloseHandle) m_pfnCeCloseHandle;
    decltype(&::CeDeleteFile) m_pfnCeDeleteFile;
    decltype(&::CeRapiFreeBuffer) m_pfnCeRapiFreeBuffer;
    decltype(&::CeFindAllFiles) m_pfnCeFindAllFiles;
    decltype(&::CeRapiUninit) m_pfnCeRapiUninit;
    decltype(&::CeRapiGetError) m_pfnCeRapiGetError;
};

extern CRapiLink g_rapiLink;

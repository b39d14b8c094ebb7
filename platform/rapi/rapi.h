// The remote API of the handheld link: the names, signatures, records and
// constants of its published interface. The program loads the library at
// run time and calls these through pointers; our own stand-in library
// implements them over a loopback connection to the handheld emulator.
#pragma once

#include <windows.h>
#include <stddef.h>

// Returned by a second CeRapiInitEx without CeRapiUninit in between.
#define CERAPI_E_ALREADYINITIALIZED ((HRESULT)0x80041001L)

// CeFindAllFiles: which CE_FIND_DATA fields to fill (constants rather than
// macros, so the handheld wire library's names of the same flags stand
// beside them)...
constexpr DWORD FAF_ATTRIBUTES = 0x00000001;
constexpr DWORD FAF_CREATION_TIME = 0x00000002;
constexpr DWORD FAF_LASTACCESS_TIME = 0x00000004;
constexpr DWORD FAF_LASTWRITE_TIME = 0x00000008;
constexpr DWORD FAF_SIZE_HIGH = 0x00000010;
constexpr DWORD FAF_SIZE_LOW = 0x00000020;
constexpr DWORD FAF_OID = 0x00000040;
constexpr DWORD FAF_NAME = 0x00000080;
// ...and which entries to leave out.
constexpr DWORD FAF_ATTRIB_NO_HIDDEN = 0x00002000;
constexpr DWORD FAF_FOLDERS_ONLY = 0x00004000;
constexpr DWORD FAF_NO_HIDDEN_SYS_ROMMODULES = 0x00008000;

// Attribute bits of the handheld's object store beyond the desktop ones.
#define FILE_ATTRIBUTE_INROM     0x00000040
#define FILE_ATTRIBUTE_ROMMODULE 0x00002000

typedef struct _RAPIINIT
{
    DWORD cbSize;
    HANDLE heRapiInit;
    HRESULT hrRapiInit;
} RAPIINIT;

typedef struct _CE_FIND_DATA
{
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
} CE_FIND_DATA, *LPCE_FIND_DATA, **LPLPCE_FIND_DATA;

// The record travels as it is laid out here, on either target.
static_assert(sizeof(CE_FIND_DATA) == 560, "CE_FIND_DATA has its published size");
static_assert(offsetof(CE_FIND_DATA, ftCreationTime) == 4, "CE_FIND_DATA layout");
static_assert(offsetof(CE_FIND_DATA, nFileSizeHigh) == 28, "CE_FIND_DATA layout");
static_assert(offsetof(CE_FIND_DATA, dwOID) == 36, "CE_FIND_DATA layout");
static_assert(offsetof(CE_FIND_DATA, cFileName) == 40, "CE_FIND_DATA layout");

#ifdef __cplusplus
extern "C" {
#endif

HRESULT WINAPI CeRapiInitEx(RAPIINIT* pRapiInit);
HRESULT WINAPI CeRapiUninit(void);
HRESULT WINAPI CeRapiFreeBuffer(LPVOID pBuffer);
DWORD WINAPI CeGetLastError(void);
// S_OK when the last call reached the handheld (whatever the handheld
// answered); a failure when the link itself failed it.
HRESULT WINAPI CeRapiGetError(void);

BOOL WINAPI CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray);
HANDLE WINAPI CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                           LPSECURITY_ATTRIBUTES pSecurityAttributes, DWORD dwCreationDisposition,
                           DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
BOOL WINAPI CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                        LPOVERLAPPED pOverlapped);
BOOL WINAPI CeCloseHandle(HANDLE hObject);
BOOL WINAPI CeDeleteFile(LPCWSTR pszFileName);

#ifdef __cplusplus
}
#endif

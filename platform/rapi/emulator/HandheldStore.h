// The handheld's file system, served from a host folder: listings, the
// files the connections have open, and the capacity the handheld has.
// Every operation takes the store's lock, so connections may share it.
#pragma once

#include "platform/rapi/Handle.h"
#include "platform/rapi/Lock.h"
#include "platform/rapi/emulator/AttributeStore.h"
#include "platform/rapi/rapi.h"

#include <map>
#include <string>
#include <vector>

struct CreateFileRequest
{
    std::wstring strPath;
    DWORD dwAccess;
    DWORD dwShareMode;
    DWORD dwDisposition;
};

class CHandheldStore
{
public:
    CHandheldStore(const std::wstring& strRoot, ULONGLONG nCapacity);

    // Reads the attribute records, gives an empty folder the layout of a
    // new handheld, and measures the data already held. FALSE when the
    // folder cannot be served.
    bool Open();

    bool FindAllFiles(const std::wstring& strPattern, DWORD dwFlags, std::vector<CE_FIND_DATA>& records,
                      DWORD* pdwError);
    // A handle (never 0) owned by the connection dwOwner, or 0.
    DWORD CreateFile(DWORD dwOwner, const CreateFileRequest& request, DWORD* pdwError);
    // Writes at most cbLimit of the cb bytes, fewer when the store is full.
    bool WriteFile(DWORD dwOwner, DWORD dwHandle, const BYTE* pData, DWORD cb, DWORD cbLimit, DWORD* pdwWritten,
                   DWORD* pdwError);
    bool CloseHandle(DWORD dwOwner, DWORD dwHandle, DWORD* pdwError);
    bool DeleteFile(const std::wstring& strPath, DWORD* pdwError);
    // A connection that ends leaves no file open.
    void CloseHandlesOf(DWORD dwOwner);

private:
    struct OpenFile
    {
        DWORD dwOwner;
        CHandle hFile;
    };

    // Splits and checks a handheld path; the store's own records are out
    // of reach like any path outside the root.
    bool Resolve(const std::wstring& strPath, bool bPattern, std::vector<std::wstring>& parts, DWORD* pdwError) const;
    std::wstring HostPath(const std::vector<std::wstring>& parts) const;
    bool IsEmpty() const;
    void MakeLayout();
    ULONGLONG MeasureFolder(const std::wstring& strHostFolder) const;
    DWORD AttributesOf(const std::wstring& strKey, const WIN32_FIND_DATAW& found) const;
    DWORD WriteWithinRoom(HANDLE hFile, const BYTE* pData, DWORD cb, DWORD* pdwError);

    CCriticalSection m_cs;
    std::wstring m_strRoot;
    ULONGLONG m_nCapacity;
    ULONGLONG m_nUsed = 0;
    CAttributeStore m_attributes;
    std::map<DWORD, OpenFile> m_files;
    DWORD m_dwLastHandle = 0;
};

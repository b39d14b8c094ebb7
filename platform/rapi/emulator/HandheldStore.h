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
    // The first entry the pattern matches, every field filled, and a search
    // handle (never 0) owned by dwOwner; 0 when nothing matches.
    DWORD FindFirstFile(DWORD dwOwner, const std::wstring& strPattern, CE_FIND_DATA& record, DWORD* pdwError);
    bool FindClose(DWORD dwOwner, DWORD dwHandle, DWORD* pdwError);
    // INVALID_FILE_ATTRIBUTES when the entry is not there.
    DWORD GetFileAttributes(const std::wstring& strPath, DWORD* pdwError);
    // At most cb bytes from the file's position; none at its end.
    bool ReadFile(DWORD dwOwner, DWORD dwHandle, DWORD cb, std::vector<BYTE>& data, DWORD* pdwError);
    bool CreateDirectory(const std::wstring& strPath, DWORD* pdwError);
    // Only an empty folder goes.
    bool RemoveDirectory(const std::wstring& strPath, DWORD* pdwError);
    // The entry and everything below it keep their attributes under the new
    // name; never replaces one.
    bool MoveFile(const std::wstring& strFrom, const std::wstring& strTo, DWORD* pdwError);
    // A copy counts against the capacity as written data does.
    bool CopyFile(const std::wstring& strFrom, const std::wstring& strTo, bool bFailIfExists, DWORD* pdwError);
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
    // Resolve for a path that names an entry below the root.
    bool ResolveEntry(const std::wstring& strPath, std::wstring& strHost, std::wstring& strKey, DWORD* pdwError) const;
    std::wstring HostPath(const std::vector<std::wstring>& parts) const;
    bool ListEntries(const std::wstring& strPattern, DWORD dwFlags, std::vector<CE_FIND_DATA>& records,
                     DWORD* pdwError);
    DWORD NextHandle();
    ULONGLONG Room() const;
    bool IsEmpty() const;
    void MakeLayout();
    ULONGLONG MeasureFolder(const std::wstring& strHostFolder) const;
    DWORD AttributesOf(const std::wstring& strKey, DWORD dwHostAttributes) const;
    DWORD WriteWithinRoom(HANDLE hFile, const BYTE* pData, DWORD cb, DWORD* pdwError);

    CCriticalSection m_cs;
    std::wstring m_strRoot;
    ULONGLONG m_nCapacity;
    ULONGLONG m_nUsed = 0;
    CAttributeStore m_attributes;
    std::map<DWORD, OpenFile> m_files;
    std::map<DWORD, DWORD> m_searches;   // search handle -> owner
    DWORD m_dwLastHandle = 0;
};

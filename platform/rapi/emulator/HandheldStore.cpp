#include "platform/rapi/emulator/HandheldStore.h"

#include "platform/HandleOwner.h"
#include "platform/rapi/emulator/DefaultLayout.h"
#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/emulator/HandheldPath.h"

#include <algorithm>
#include <wchar.h>

namespace {
constexpr DWORD ALL_FIELDS = FAF_ATTRIBUTES | FAF_CREATION_TIME | FAF_LASTACCESS_TIME | FAF_LASTWRITE_TIME
                             | FAF_SIZE_HIGH | FAF_SIZE_LOW | FAF_OID | FAF_NAME;

// A directory listing of the host, closed when it goes out of scope.
struct FindTraits
{
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static bool Release(Handle h) { return FindClose(h) != FALSE; }
};
using CFindHandle = CHandleOwner<FindTraits>;

bool IsDotEntry(const WIN32_FIND_DATAW& found)
{
    return wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0;
}

bool IsReservedName(const std::wstring& strName)
{
    std::wstring strReserved = CAttributeStore::FILE_NAME;
    return FoldCase(strName).compare(0, strReserved.size(), strReserved) == 0;
}

template <typename FileData> ULONGLONG SizeOf(const FileData& data)
{
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// ROM entries are what FAF_NO_HIDDEN_SYS_ROMMODULES keeps out of a listing.
bool IsLeftOut(DWORD dwAttributes, DWORD dwFlags)
{
    if ((dwFlags & FAF_FOLDERS_ONLY) && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    if ((dwFlags & FAF_ATTRIB_NO_HIDDEN) && (dwAttributes & FILE_ATTRIBUTE_HIDDEN))
        return true;
    return (dwFlags & FAF_NO_HIDDEN_SYS_ROMMODULES)
           && (dwAttributes & (FILE_ATTRIBUTE_INROM | FILE_ATTRIBUTE_ROMMODULE));
}

// A stable object id per path, as the handheld's object store gives one.
DWORD ObjectIdOf(const std::wstring& strKey)
{
    DWORD dwHash = 2166136261u;
    for (wchar_t ch : strKey)
        dwHash = (dwHash ^ ch) * 16777619u;
    return dwHash ? dwHash : 1;
}

CE_FIND_DATA MakeRecord(const WIN32_FIND_DATAW& found, DWORD dwAttributes, DWORD dwFlags, const std::wstring& strKey)
{
    CE_FIND_DATA record = {};
    if (dwFlags & FAF_ATTRIBUTES)
        record.dwFileAttributes = dwAttributes;
    if (dwFlags & FAF_CREATION_TIME)
        record.ftCreationTime = found.ftCreationTime;
    if (dwFlags & FAF_LASTACCESS_TIME)
        record.ftLastAccessTime = found.ftLastAccessTime;
    if (dwFlags & FAF_LASTWRITE_TIME)
        record.ftLastWriteTime = found.ftLastWriteTime;
    if (dwFlags & FAF_SIZE_HIGH)
        record.nFileSizeHigh = found.nFileSizeHigh;
    if (dwFlags & FAF_SIZE_LOW)
        record.nFileSizeLow = found.nFileSizeLow;
    if (dwFlags & FAF_OID)
        record.dwOID = ObjectIdOf(strKey);
    if (dwFlags & FAF_NAME)
        lstrcpynW(record.cFileName, found.cFileName, MAX_PATH);
    return record;
}

bool IsKnownDisposition(DWORD dwDisposition)
{
    return dwDisposition >= CREATE_NEW && dwDisposition <= TRUNCATE_EXISTING;
}

bool Truncates(DWORD dwDisposition)
{
    return dwDisposition == CREATE_ALWAYS || dwDisposition == TRUNCATE_EXISTING;
}
}   // namespace

CHandheldStore::CHandheldStore(const std::wstring& strRoot, ULONGLONG nCapacity)
    : m_strRoot(strRoot), m_nCapacity(nCapacity)
{
    while (m_strRoot.size() > 3 && (m_strRoot.back() == L'\\' || m_strRoot.back() == L'/'))
        m_strRoot.pop_back();
}

bool CHandheldStore::Open()
{
    CLock lock(m_cs);
    DWORD dwRoot = GetFileAttributesW(m_strRoot.c_str());
    if (dwRoot == INVALID_FILE_ATTRIBUTES || !(dwRoot & FILE_ATTRIBUTE_DIRECTORY) || !m_attributes.Load(m_strRoot))
        return false;
    if (IsEmpty())
        MakeLayout();
    m_nUsed = MeasureFolder(m_strRoot);
    return true;
}

bool CHandheldStore::IsEmpty() const
{
    WIN32_FIND_DATAW found;
    CFindHandle hFind(FindFirstFileW((m_strRoot + L"\\*").c_str(), &found));
    if (!hFind.IsValid())
        return true;
    do {
        if (!IsDotEntry(found) && !IsReservedName(found.cFileName))
            return false;
    } while (FindNextFileW(hFind.Get(), &found));
    return true;
}

void CHandheldStore::MakeLayout()
{
    for (size_t i = 0; i < DEFAULT_LAYOUT_COUNT; ++i) {
        std::vector<std::wstring> parts;
        SplitHandheldPath(DEFAULT_LAYOUT[i].pszPath, false, parts);
        CreateDirectoryW(HostPath(parts).c_str(), nullptr);
        if (DEFAULT_LAYOUT[i].dwAttributes != FILE_ATTRIBUTE_DIRECTORY)
            m_attributes.Set(MakePathKey(parts), DEFAULT_LAYOUT[i].dwAttributes);
    }
}

ULONGLONG CHandheldStore::MeasureFolder(const std::wstring& strHostFolder) const
{
    ULONGLONG nBytes = 0;
    WIN32_FIND_DATAW found;
    CFindHandle hFind(FindFirstFileW((strHostFolder + L"\\*").c_str(), &found));
    if (!hFind.IsValid())
        return 0;
    do {
        if (IsDotEntry(found) || (strHostFolder == m_strRoot && IsReservedName(found.cFileName)))
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            nBytes += MeasureFolder(strHostFolder + L"\\" + found.cFileName);
        else
            nBytes += SizeOf(found);
    } while (FindNextFileW(hFind.Get(), &found));
    return nBytes;
}

bool CHandheldStore::Resolve(const std::wstring& strPath, bool bPattern, std::vector<std::wstring>& parts,
                             DWORD* pdwError) const
{
    if (!SplitHandheldPath(strPath, bPattern, parts) || parts.empty()) {
        *pdwError = ERROR_INVALID_NAME;
        return false;
    }
    if (IsReservedName(parts[0])) {
        *pdwError = ERROR_ACCESS_DENIED;
        return false;
    }
    return true;
}

std::wstring CHandheldStore::HostPath(const std::vector<std::wstring>& parts) const
{
    std::wstring strHost = m_strRoot;
    for (const std::wstring& strName : parts)
        strHost += L"\\" + strName;
    return strHost;
}

bool CHandheldStore::ResolveEntry(const std::wstring& strPath, std::wstring& strHost, std::wstring& strKey,
                                  DWORD* pdwError) const
{
    std::vector<std::wstring> parts;
    if (!Resolve(strPath, false, parts, pdwError))
        return false;
    strHost = HostPath(parts);
    strKey = MakePathKey(parts);
    return true;
}

DWORD CHandheldStore::AttributesOf(const std::wstring& strKey, DWORD dwHostAttributes) const
{
    DWORD dwAttributes;
    if (m_attributes.Lookup(strKey, &dwAttributes))
        return dwAttributes;
    return (dwHostAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
}

bool CHandheldStore::FindAllFiles(const std::wstring& strPattern, DWORD dwFlags, std::vector<CE_FIND_DATA>& records,
                                  DWORD* pdwError)
{
    CLock lock(m_cs);
    return ListEntries(strPattern, dwFlags, records, pdwError);
}

bool CHandheldStore::ListEntries(const std::wstring& strPattern, DWORD dwFlags, std::vector<CE_FIND_DATA>& records,
                                 DWORD* pdwError)
{
    records.clear();
    std::vector<std::wstring> parts;
    if (!Resolve(strPattern, true, parts, pdwError))
        return false;
    std::wstring strNamePattern = parts.back();
    parts.pop_back();
    std::wstring strFolder = HostPath(parts);
    DWORD dwFolder = GetFileAttributesW(strFolder.c_str());
    if (dwFolder == INVALID_FILE_ATTRIBUTES || !(dwFolder & FILE_ATTRIBUTE_DIRECTORY)) {
        *pdwError = ERROR_PATH_NOT_FOUND;
        return false;
    }
    std::wstring strFolderKey = MakePathKey(parts);
    std::vector<std::pair<std::wstring, CE_FIND_DATA>> found;
    WIN32_FIND_DATAW entry;
    CFindHandle hFind(FindFirstFileW((strFolder + L"\\*").c_str(), &entry));
    for (bool bMore = hFind.IsValid(); bMore; bMore = FindNextFileW(hFind.Get(), &entry) != FALSE) {
        if (IsDotEntry(entry) || (parts.empty() && IsReservedName(entry.cFileName))
            || !MatchesPattern(entry.cFileName, strNamePattern))
            continue;
        std::wstring strKey = (parts.empty() ? L"" : strFolderKey) + L"\\" + FoldCase(entry.cFileName);
        DWORD dwAttributes = AttributesOf(strKey, entry.dwFileAttributes);
        if (!IsLeftOut(dwAttributes, dwFlags))
            found.emplace_back(FoldCase(entry.cFileName), MakeRecord(entry, dwAttributes, dwFlags, strKey));
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& item : found)
        records.push_back(item.second);
    *pdwError = 0;
    return true;
}

DWORD CHandheldStore::CreateFile(DWORD dwOwner, const CreateFileRequest& request, DWORD* pdwError)
{
    CLock lock(m_cs);
    std::vector<std::wstring> parts;
    if (!Resolve(request.strPath, false, parts, pdwError))
        return 0;
    if (!IsKnownDisposition(request.dwDisposition)) {
        *pdwError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    std::wstring strHost = HostPath(parts);
    WIN32_FILE_ATTRIBUTE_DATA existing;
    bool bExists = GetFileAttributesExW(strHost.c_str(), GetFileExInfoStandard, &existing) != FALSE;
    if (bExists && (existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *pdwError = ERROR_ACCESS_DENIED;
        return 0;
    }
    CHandle hFile(::CreateFileW(strHost.c_str(), request.dwAccess & (GENERIC_READ | GENERIC_WRITE),
                                request.dwShareMode & (FILE_SHARE_READ | FILE_SHARE_WRITE), nullptr,
                                request.dwDisposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    *pdwError = GetLastError();
    if (!hFile.IsValid())
        return 0;
    if (bExists && Truncates(request.dwDisposition))
        m_nUsed -= std::min(m_nUsed, SizeOf(existing));
    DWORD dwHandle = NextHandle();
    m_files.emplace(dwHandle, OpenFile{ dwOwner, std::move(hFile) });
    return dwHandle;
}

// Files and searches share one range of handles, never 0 or 0xFFFFFFFF.
DWORD CHandheldStore::NextHandle()
{
    do
        ++m_dwLastHandle;
    while (m_dwLastHandle == 0 || m_dwLastHandle == 0xFFFFFFFF || m_files.count(m_dwLastHandle)
           || m_searches.count(m_dwLastHandle));
    return m_dwLastHandle;
}

ULONGLONG CHandheldStore::Room() const
{
    return m_nCapacity == UNLIMITED ? UNLIMITED : (m_nCapacity > m_nUsed ? m_nCapacity - m_nUsed : 0);
}

bool CHandheldStore::WriteFile(DWORD dwOwner, DWORD dwHandle, const BYTE* pData, DWORD cb, DWORD cbLimit,
                               DWORD* pdwWritten, DWORD* pdwError)
{
    CLock lock(m_cs);
    *pdwWritten = 0;
    auto it = m_files.find(dwHandle);
    if (it == m_files.end() || it->second.dwOwner != dwOwner) {
        *pdwError = ERROR_INVALID_HANDLE;
        return false;
    }
    *pdwWritten = WriteWithinRoom(it->second.hFile.Get(), pData, std::min(cb, cbLimit), pdwError);
    return *pdwWritten == cb;
}

// Writes what the remaining capacity takes of cb bytes at the file's
// position: overwriting costs nothing, only growth of the file counts.
DWORD CHandheldStore::WriteWithinRoom(HANDLE hFile, const BYTE* pData, DWORD cb, DWORD* pdwError)
{
    LARGE_INTEGER nPosition = {}, nSize = {}, nZero = {};
    if (!SetFilePointerEx(hFile, nZero, &nPosition, FILE_CURRENT) || !GetFileSizeEx(hFile, &nSize)) {
        *pdwError = GetLastError();
        return 0;
    }
    ULONGLONG nEnd = static_cast<ULONGLONG>(nPosition.QuadPart) + cb;
    ULONGLONG nGrowth = nEnd > static_cast<ULONGLONG>(nSize.QuadPart) ? nEnd - nSize.QuadPart : 0;
    ULONGLONG nRoom = Room();
    DWORD cbAllowed = nGrowth > nRoom ? static_cast<DWORD>(cb - (nGrowth - nRoom)) : cb;
    DWORD cbWritten = 0;
    if (cbAllowed > 0 && !::WriteFile(hFile, pData, cbAllowed, &cbWritten, nullptr))
        *pdwError = GetLastError();
    else
        *pdwError = cbAllowed < cb ? ERROR_DISK_FULL : 0;
    ULONGLONG nNewEnd = static_cast<ULONGLONG>(nPosition.QuadPart) + cbWritten;
    if (nNewEnd > static_cast<ULONGLONG>(nSize.QuadPart))
        m_nUsed += nNewEnd - nSize.QuadPart;
    return cbWritten;
}

bool CHandheldStore::CloseHandle(DWORD dwOwner, DWORD dwHandle, DWORD* pdwError)
{
    CLock lock(m_cs);
    auto it = m_files.find(dwHandle);
    if (it == m_files.end() || it->second.dwOwner != dwOwner) {
        *pdwError = ERROR_INVALID_HANDLE;
        return false;
    }
    m_files.erase(it);
    *pdwError = 0;
    return true;
}

bool CHandheldStore::DeleteFile(const std::wstring& strPath, DWORD* pdwError)
{
    CLock lock(m_cs);
    std::vector<std::wstring> parts;
    if (!Resolve(strPath, false, parts, pdwError))
        return false;
    std::wstring strHost = HostPath(parts);
    WIN32_FILE_ATTRIBUTE_DATA existing;
    if (!GetFileAttributesExW(strHost.c_str(), GetFileExInfoStandard, &existing) || !::DeleteFileW(strHost.c_str())) {
        *pdwError = GetLastError();
        return false;
    }
    m_nUsed -= std::min(m_nUsed, SizeOf(existing));
    m_attributes.Remove(MakePathKey(parts));
    *pdwError = 0;
    return true;
}

DWORD CHandheldStore::FindFirstFile(DWORD dwOwner, const std::wstring& strPattern, CE_FIND_DATA& record,
                                    DWORD* pdwError)
{
    CLock lock(m_cs);
    std::vector<CE_FIND_DATA> records;
    if (!ListEntries(strPattern, ALL_FIELDS, records, pdwError))
        return 0;
    if (records.empty()) {
        *pdwError = ERROR_FILE_NOT_FOUND;
        return 0;
    }
    record = records.front();
    DWORD dwHandle = NextHandle();
    m_searches.emplace(dwHandle, dwOwner);
    return dwHandle;
}

bool CHandheldStore::FindClose(DWORD dwOwner, DWORD dwHandle, DWORD* pdwError)
{
    CLock lock(m_cs);
    auto it = m_searches.find(dwHandle);
    if (it == m_searches.end() || it->second != dwOwner) {
        *pdwError = ERROR_INVALID_HANDLE;
        return false;
    }
    m_searches.erase(it);
    *pdwError = 0;
    return true;
}

DWORD CHandheldStore::GetFileAttributes(const std::wstring& strPath, DWORD* pdwError)
{
    CLock lock(m_cs);
    std::vector<std::wstring> parts;
    if (SplitHandheldPath(strPath, false, parts) && parts.empty()) {
        *pdwError = 0;
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    std::wstring strHost, strKey;
    if (!ResolveEntry(strPath, strHost, strKey, pdwError))
        return INVALID_FILE_ATTRIBUTES;
    DWORD dwHost = GetFileAttributesW(strHost.c_str());
    *pdwError = dwHost == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
    return dwHost == INVALID_FILE_ATTRIBUTES ? dwHost : AttributesOf(strKey, dwHost);
}

bool CHandheldStore::ReadFile(DWORD dwOwner, DWORD dwHandle, DWORD cb, std::vector<BYTE>& data, DWORD* pdwError)
{
    CLock lock(m_cs);
    data.clear();
    auto it = m_files.find(dwHandle);
    if (it == m_files.end() || it->second.dwOwner != dwOwner) {
        *pdwError = ERROR_INVALID_HANDLE;
        return false;
    }
    data.resize(cb);
    DWORD cbRead = 0;
    bool bOk = ::ReadFile(it->second.hFile.Get(), data.data(), cb, &cbRead, nullptr) != FALSE;
    *pdwError = bOk ? 0 : GetLastError();
    data.resize(cbRead);
    return bOk;
}

bool CHandheldStore::CreateDirectory(const std::wstring& strPath, DWORD* pdwError)
{
    CLock lock(m_cs);
    std::wstring strHost, strKey;
    if (!ResolveEntry(strPath, strHost, strKey, pdwError))
        return false;
    bool bOk = CreateDirectoryW(strHost.c_str(), nullptr) != FALSE;
    *pdwError = bOk ? 0 : GetLastError();
    return bOk;
}

bool CHandheldStore::RemoveDirectory(const std::wstring& strPath, DWORD* pdwError)
{
    CLock lock(m_cs);
    std::wstring strHost, strKey;
    if (!ResolveEntry(strPath, strHost, strKey, pdwError))
        return false;
    if (!RemoveDirectoryW(strHost.c_str())) {
        *pdwError = GetLastError();
        return false;
    }
    m_attributes.Remove(strKey);
    *pdwError = 0;
    return true;
}

bool CHandheldStore::MoveFile(const std::wstring& strFrom, const std::wstring& strTo, DWORD* pdwError)
{
    CLock lock(m_cs);
    std::wstring strHostFrom, strKeyFrom, strHostTo, strKeyTo;
    if (!ResolveEntry(strFrom, strHostFrom, strKeyFrom, pdwError)
        || !ResolveEntry(strTo, strHostTo, strKeyTo, pdwError))
        return false;
    if (!MoveFileW(strHostFrom.c_str(), strHostTo.c_str())) {
        *pdwError = GetLastError();
        return false;
    }
    m_attributes.Rename(strKeyFrom, strKeyTo);
    *pdwError = 0;
    return true;
}

bool CHandheldStore::CopyFile(const std::wstring& strFrom, const std::wstring& strTo, bool bFailIfExists,
                              DWORD* pdwError)
{
    CLock lock(m_cs);
    std::wstring strHostFrom, strKeyFrom, strHostTo, strKeyTo;
    if (!ResolveEntry(strFrom, strHostFrom, strKeyFrom, pdwError)
        || !ResolveEntry(strTo, strHostTo, strKeyTo, pdwError))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA source = {}, target = {};
    if (!GetFileAttributesExW(strHostFrom.c_str(), GetFileExInfoStandard, &source)) {
        *pdwError = GetLastError();
        return false;
    }
    bool bReplaces = GetFileAttributesExW(strHostTo.c_str(), GetFileExInfoStandard, &target) != FALSE;
    ULONGLONG nFreed = bReplaces && !bFailIfExists ? SizeOf(target) : 0;
    if (SizeOf(source) > nFreed && SizeOf(source) - nFreed > Room()) {
        *pdwError = ERROR_DISK_FULL;
        return false;
    }
    if (!CopyFileW(strHostFrom.c_str(), strHostTo.c_str(), bFailIfExists)) {
        *pdwError = GetLastError();
        return false;
    }
    m_nUsed = m_nUsed - std::min(m_nUsed, nFreed) + SizeOf(source);
    *pdwError = 0;
    return true;
}

void CHandheldStore::CloseHandlesOf(DWORD dwOwner)
{
    CLock lock(m_cs);
    for (auto it = m_files.begin(); it != m_files.end();) {
        if (it->second.dwOwner == dwOwner)
            it = m_files.erase(it);
        else
            ++it;
    }
    for (auto it = m_searches.begin(); it != m_searches.end();) {
        if (it->second == dwOwner)
            it = m_searches.erase(it);
        else
            ++it;
    }
}

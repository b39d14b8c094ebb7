#include "platform/rapi/emulator/AttributeStore.h"

#include "platform/rapi/Handle.h"

#include <stdlib.h>

// One line per entry: eight hexadecimal digits, a blank, the case-folded
// handheld path, in UTF-8.
const wchar_t CAttributeStore::FILE_NAME[] = L".handheld-attributes";

namespace {
std::string ToUtf8(const std::wstring& str)
{
    int cb = WideCharToMultiByte(CP_UTF8, 0, str.c_str(), static_cast<int>(str.size()), nullptr, 0, nullptr, nullptr);
    std::string strUtf8(cb, '\0');
    if (cb > 0)
        WideCharToMultiByte(CP_UTF8, 0, str.c_str(), static_cast<int>(str.size()), &strUtf8[0], cb, nullptr, nullptr);
    return strUtf8;
}

std::wstring FromUtf8(const std::string& str)
{
    int cch = MultiByteToWideChar(CP_UTF8, 0, str.c_str(), static_cast<int>(str.size()), nullptr, 0);
    std::wstring strWide(cch, L'\0');
    if (cch > 0)
        MultiByteToWideChar(CP_UTF8, 0, str.c_str(), static_cast<int>(str.size()), &strWide[0], cch);
    return strWide;
}

bool ReadWholeFile(const std::wstring& strFile, std::string& strBytes)
{
    CHandle hFile(CreateFileW(strFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!hFile.IsValid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    DWORD cb = GetFileSize(hFile.Get(), nullptr);
    if (cb == INVALID_FILE_SIZE)
        return false;
    strBytes.resize(cb);
    DWORD cbRead = 0;
    return cb == 0 || (ReadFile(hFile.Get(), &strBytes[0], cb, &cbRead, nullptr) && cbRead == cb);
}
}   // namespace

bool CAttributeStore::Load(const std::wstring& strFolder)
{
    m_strFile = strFolder + L"\\" + FILE_NAME;
    m_attributes.clear();
    std::string strBytes;
    if (!ReadWholeFile(m_strFile, strBytes))
        return false;
    size_t nStart = 0;
    while (nStart < strBytes.size()) {
        size_t nEnd = strBytes.find('\n', nStart);
        std::string strLine = strBytes.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (strLine.size() > 10 && strLine[8] == ' ' && strLine[9] == '\\')
            m_attributes[FromUtf8(strLine.substr(9))] = strtoul(strLine.substr(0, 8).c_str(), nullptr, 16);
        nStart = nEnd == std::string::npos ? strBytes.size() : nEnd + 1;
    }
    return true;
}

bool CAttributeStore::Lookup(const std::wstring& strKey, DWORD* pdwAttributes) const
{
    auto it = m_attributes.find(strKey);
    if (it == m_attributes.end())
        return false;
    *pdwAttributes = it->second;
    return true;
}

void CAttributeStore::Set(const std::wstring& strKey, DWORD dwAttributes)
{
    m_attributes[strKey] = dwAttributes;
    Save();
}

bool CAttributeStore::IsAtOrBelow(const std::wstring& strKey, const std::wstring& strEntry)
{
    return strKey.compare(0, strEntry.size(), strEntry) == 0
           && (strKey.size() == strEntry.size() || strKey[strEntry.size()] == L'\\');
}

void CAttributeStore::Remove(const std::wstring& strKey)
{
    for (auto it = m_attributes.begin(); it != m_attributes.end();) {
        if (IsAtOrBelow(it->first, strKey))
            it = m_attributes.erase(it);
        else
            ++it;
    }
    Save();
}

// Records left at the new name belong to an entry that is gone: the move
// only succeeds where nothing is in the way.
void CAttributeStore::Rename(const std::wstring& strFrom, const std::wstring& strTo)
{
    if (strFrom == strTo)
        return;
    std::map<std::wstring, DWORD> kept;
    for (const auto& entry : m_attributes) {
        if (IsAtOrBelow(entry.first, strFrom))
            kept[strTo + entry.first.substr(strFrom.size())] = entry.second;
        else if (!IsAtOrBelow(entry.first, strTo))
            kept.insert(entry);
    }
    m_attributes.swap(kept);
    Save();
}

// Written to a side file and moved over the old one, so an emulator killed
// in the middle leaves the previous records intact.
void CAttributeStore::Save() const
{
    std::string strBytes;
    char szAttributes[16];
    for (const auto& entry : m_attributes) {
        wsprintfA(szAttributes, "%08lX ", entry.second);
        strBytes += szAttributes + ToUtf8(entry.first) + "\n";
    }
    std::wstring strTemp = m_strFile + L".new";
    {
        CHandle hFile(CreateFileW(strTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD cbWritten = 0;
        if (!hFile.IsValid()
            || !WriteFile(hFile.Get(), strBytes.data(), static_cast<DWORD>(strBytes.size()), &cbWritten, nullptr))
            return;
    }
    MoveFileExW(strTemp.c_str(), m_strFile.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The attributes the handheld keeps for its entries (system, hidden, ROM,
// storage card), which the host's own file attributes cannot carry. They
// live in a file inside the served folder, under a name that no handheld
// path can reach; entries without a record are plain folders or files.
#pragma once

#include <windows.h>
#include <map>
#include <string>

class CAttributeStore
{
public:
    static const wchar_t FILE_NAME[];

    // FALSE when an existing file cannot be read.
    bool Load(const std::wstring& strFolder);
    bool Lookup(const std::wstring& strKey, DWORD* pdwAttributes) const;
    void Set(const std::wstring& strKey, DWORD dwAttributes);
    // Forgets the entry and every entry below it.
    void Remove(const std::wstring& strKey);
    // Carries the entry and every entry below it over to a new name.
    void Rename(const std::wstring& strFrom, const std::wstring& strTo);

private:
    static bool IsAtOrBelow(const std::wstring& strKey, const std::wstring& strEntry);
    void Save() const;

    std::wstring m_strFile;
    std::map<std::wstring, DWORD> m_attributes;
};

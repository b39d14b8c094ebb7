#include "shell/IdList.h"

#include "shell/ShellContext.h"

#include <cstring>

namespace {

USHORT SizeWord(LPCITEMIDLIST pidl)
{
    USHORT cb;
    std::memcpy(&cb, pidl, sizeof(cb));
    return cb;
}

LPCITEMIDLIST NextItemId(LPCITEMIDLIST pidl)
{
    return reinterpret_cast<LPCITEMIDLIST>(reinterpret_cast<const BYTE*>(pidl) + SizeWord(pidl));
}

}   // namespace

UINT GetIdListSize(LPCITEMIDLIST pidl)
{
    if (pidl == nullptr)
        return 0;
    UINT cb = sizeof(USHORT);
    for (; SizeWord(pidl) != 0; pidl = NextItemId(pidl))
        cb += SizeWord(pidl);
    return cb;
}

UINT GetIdCount(LPCITEMIDLIST pidl)
{
    UINT nCount = 0;
    for (; pidl != nullptr && SizeWord(pidl) != 0; pidl = NextItemId(pidl))
        ++nCount;
    return nCount;
}

LPCITEMIDLIST GetItemId(LPCITEMIDLIST pidl, UINT n)
{
    for (; pidl != nullptr; pidl = NextItemId(pidl), --n) {
        if (n == 0)
            return pidl;
        if (SizeWord(pidl) == 0)
            return nullptr;
    }
    return nullptr;
}

BOOL IsSameItemId(LPCITEMIDLIST pidlA, LPCITEMIDLIST pidlB)
{
    const USHORT cb = SizeWord(pidlA);
    if (cb != SizeWord(pidlB))
        return FALSE;
    return cb <= sizeof(USHORT) || std::memcmp(pidlA->mkid.abID, pidlB->mkid.abID, cb - sizeof(USHORT)) == 0;
}

BOOL IsIdListPrefix(LPCITEMIDLIST pidlP, LPCITEMIDLIST pidlQ)
{
    if (pidlP == nullptr || pidlQ == nullptr)
        return FALSE;
    for (; SizeWord(pidlP) != 0; pidlP = NextItemId(pidlP), pidlQ = NextItemId(pidlQ)) {
        if (!IsSameItemId(pidlP, pidlQ))
            return FALSE;
    }
    return TRUE;
}

LPITEMIDLIST MakeNameIdList(LPCWSTR pszName)
{
    const size_t cchName = wcslen(pszName);
    const size_t cbItem = 2 * cchName + 4;   // size word, name, zero character
    if (cbItem > 0xFFFF)
        return nullptr;
    auto* pBlock = static_cast<BYTE*>(g_shellContext.Alloc((cbItem + 5) & ~static_cast<size_t>(3)));
    if (pBlock == nullptr)
        return nullptr;
    std::memset(pBlock, 0, cbItem + 2);
    const USHORT cbWord = static_cast<USHORT>(cbItem);
    std::memcpy(pBlock, &cbWord, sizeof(cbWord));
    std::memcpy(pBlock + sizeof(USHORT), pszName, 2 * cchName);
    return reinterpret_cast<LPITEMIDLIST>(pBlock);
}

bool IdListTraits::Release(Handle pidl)
{
    if (!g_shellContext.HasAllocator())
        return false;
    g_shellContext.Free(pidl);
    return true;
}

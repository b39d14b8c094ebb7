// Item identifier lists: measuring, walking, comparing, and the program's
// own one-item list that names a folder on the handheld.
//
// A list is a run of item identifiers, each a 16-bit size word counting
// itself followed by its data, ended by a zero size word.
#pragma once

#include "platform/HandleOwner.h"

#include <windows.h>
#include <shlobj.h>

// 0 for null; else 2 plus the sum of the size words.
UINT GetIdListSize(LPCITEMIDLIST pidl);
// The number of item identifiers (0 for null and for an empty list).
UINT GetIdCount(LPCITEMIDLIST pidl);
// The n-th item identifier; the terminator when n is the count; null when
// n is beyond it or the list is null.
LPCITEMIDLIST GetItemId(LPCITEMIDLIST pidl, UINT n);
// The same size word and the same data bytes.
BOOL IsSameItemId(LPCITEMIDLIST pidlA, LPCITEMIDLIST pidlB);
// Every item identifier of p at the same place in q (q may be longer);
// false when either is null.
BOOL IsIdListPrefix(LPCITEMIDLIST pidlP, LPCITEMIDLIST pidlQ);

// A one-item list whose data is the UTF-16 name with its terminating zero,
// in a block of the shell allocator; null when the allocation fails. The
// block is the name's size plus 9 bytes, rounded down to a multiple of 4.
LPITEMIDLIST MakeNameIdList(LPCWSTR pszName);

// An identifier list of the shell allocator, freed with its owner. Owners
// die in destructors, where nothing may be raised: without an allocator
// (which the context holds whenever a model exists) the list is left.
struct IdListTraits
{
    using Handle = LPITEMIDLIST;
    static Handle None() { return nullptr; }
    static bool Release(Handle pidl);
};
using CIdList = CHandleOwner<IdListTraits>;

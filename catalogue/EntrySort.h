// Orders the catalogue by title for the list.
#pragma once

#include "catalogue/ContentEntry.h"

#include <windows.h>

// The sort key of an entry: its title lower-cased once, as multibyte text of
// the ANSI code page, NUL-terminated. A title filling its whole field without
// a NUL is taken whole.
struct TitleKey
{
    char sz[sizeof(ContentEntry::szTitle) + 1];
};

void MakeTitleKey(const ContentEntry& entry, TitleKey& key);

// Sorts ascending by key, the keys compared as multibyte text by code value
// (AfxCompareMultibyte); pKeys[i] is the key of pEntries[i] and stays where
// it is. Entries with equal keys keep their order, and whole records move,
// so ticks, sizes and paths travel with their titles.
//
// A stable merge sort of an index permutation, applied to the records once
// at the end. Its scratch space, two indices per entry, is one block of
// movable global memory; FALSE, with the entries untouched, when there is no
// memory for it. Fewer than two entries need no sorting and no memory.
BOOL SortEntriesByTitle(ContentEntry* pEntries, const TitleKey* pKeys, int nEntries);

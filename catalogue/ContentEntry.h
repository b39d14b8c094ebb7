// One installable content file of the catalogue: the record the list view
// paints and ticks, the totals bar sums and the installation copies.
#pragma once

#include <cstddef>

struct ContentEntry
{
    int bSelected;         // 1 = ticked for installation; readers test bit 0
    int nSize;             // length in bytes, read as unsigned 32 bits
    int nPlaySeconds;      // never set by this program: always 0
    char szTitle[64];      // from the content header, ANSI code page
    char szFileName[64];   // name as the directory listing gave it
    char szPath[256];      // folder (with its backslash) and name
};

static_assert(sizeof(ContentEntry) == 396, "entry layout");
static_assert(offsetof(ContentEntry, bSelected) == 0, "tick flag first");
static_assert(offsetof(ContentEntry, nSize) == 4, "size at 4");
static_assert(offsetof(ContentEntry, nPlaySeconds) == 8, "playing time at 8");
static_assert(offsetof(ContentEntry, szTitle) == 12, "title at 12");
static_assert(offsetof(ContentEntry, szFileName) == 76, "file name at 76");
static_assert(offsetof(ContentEntry, szPath) == 140, "path at 140");

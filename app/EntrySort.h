// Orders the catalogue by title for the list.
#pragma once

#include "app/ContentEntry.h"

// Insertion sort, ascending by the lower-cased title compared as multibyte
// text by code value. Entries with equal titles keep their scan order, and
// whole records move, so ticks, sizes and paths travel with their titles.
void SortEntriesByTitle(ContentEntry* pEntries, int nEntries);

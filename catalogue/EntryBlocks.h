// The entries a catalogue scan accepts, each with its title key, collected
// in a chain of zero-filled blocks of movable global memory, 50 entries to a
// block. A growth adds one block and moves nothing already collected, so the
// scan allocates once per 50 files and copies each entry out only once, when
// the walk is over.
#pragma once

#include "catalogue/ContentEntry.h"
#include "catalogue/EntrySort.h"

#include <windows.h>

class CEntryBlocks
{
public:
    static constexpr int BLOCK_ENTRIES = 50;

    // One allocation: 50 entries, their keys at the same index, and the
    // link to the block that follows.
    struct Block
    {
        Block* pNext;
        ContentEntry aEntries[BLOCK_ENTRIES];
        TitleKey aKeys[BLOCK_ENTRIES];
    };

    CEntryBlocks() = default;
    CEntryBlocks(const CEntryBlocks&) = delete;
    CEntryBlocks& operator=(const CEntryBlocks&) = delete;
    ~CEntryBlocks();

    // Appends the entry and makes its title key, adding a block when the
    // last one is full. FALSE, with nothing appended, when memory runs out.
    BOOL Append(const ContentEntry& entry);
    // Copies the entries, in the order they were appended, to pEntries and
    // their keys to pKeys: GetCount() of each.
    void Gather(ContentEntry* pEntries, TitleKey* pKeys) const;

    int GetCount() const { return m_nCount; }

private:
    BOOL AddBlock();

    Block* m_pFirst = nullptr;
    Block* m_pLast = nullptr;
    int m_nCount = 0;
};

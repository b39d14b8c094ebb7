// The catalogue scan's queue of folders still to be listed: first in, first
// out, so folders are visited breadth-first. Fixed 256-byte slots in one
// zero-filled block of movable global memory that grows 10 slots at a time,
// so the scan allocates nothing per folder.
#pragma once

#include <windows.h>

class CFolderQueue
{
public:
    static constexpr int SLOT_BYTES = 256;
    static constexpr int GROWTH = 10;

    CFolderQueue() = default;
    CFolderQueue(const CFolderQueue&) = delete;
    CFolderQueue& operator=(const CFolderQueue&) = delete;
    ~CFolderQueue();

    // The first 10 slots; FALSE when there is no memory for them.
    BOOL Allocate();
    // Appends a folder path shorter than SLOT_BYTES, growing the queue when
    // it is full. FALSE when there is no memory to grow.
    BOOL Push(LPCSTR pszFolder);
    // Takes the oldest folder into pszFolder (SLOT_BYTES bytes); FALSE when
    // nothing is pending.
    BOOL Pop(char* pszFolder);

    int GetPending() const { return m_nPending; }
    int GetCapacity() const { return m_nCapacity; }

private:
    char* Slot(int nIndex) const { return m_pSlots + nIndex * SLOT_BYTES; }

    char* m_pSlots = nullptr;
    int m_nCapacity = 0;
    int m_nPending = 0;
};

#include "catalogue/FolderQueue.h"
#include "catalogue/GlobalBlock.h"

#include <cstring>

CFolderQueue::~CFolderQueue()
{
    FreeBlock(m_pSlots);
}

BOOL CFolderQueue::Allocate()
{
    m_pSlots = static_cast<char*>(AllocZeroedBlock(GROWTH * SLOT_BYTES));
    m_nCapacity = m_pSlots ? GROWTH : 0;
    m_nPending = 0;
    return m_pSlots != nullptr;
}

BOOL CFolderQueue::Push(LPCSTR pszFolder)
{
    if (m_nPending == m_nCapacity) {
        const int nNewCapacity = m_nCapacity + GROWTH;
        void* pGrown = GrowZeroedBlock(m_pSlots, m_nCapacity * SLOT_BYTES, nNewCapacity * SLOT_BYTES);
        if (pGrown == nullptr)
            return FALSE;
        m_pSlots = static_cast<char*>(pGrown);
        m_nCapacity = nNewCapacity;
    }
    char* pszSlot = Slot(m_nPending++);
    std::memset(pszSlot, 0, SLOT_BYTES);
    std::strncpy(pszSlot, pszFolder, SLOT_BYTES - 1);
    return TRUE;
}

BOOL CFolderQueue::Pop(char* pszFolder)
{
    if (m_nPending == 0)
        return FALSE;
    std::memcpy(pszFolder, Slot(0), SLOT_BYTES);
    --m_nPending;
    std::memmove(Slot(0), Slot(1), m_nPending * SLOT_BYTES);
    return TRUE;
}

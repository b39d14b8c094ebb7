#include "catalogue/EntryBlocks.h"
#include "catalogue/GlobalBlock.h"

#include <algorithm>

CEntryBlocks::~CEntryBlocks()
{
    while (m_pFirst != nullptr) {
        Block* pNext = m_pFirst->pNext;
        FreeBlock(m_pFirst);
        m_pFirst = pNext;
    }
}

BOOL CEntryBlocks::AddBlock()
{
    // Zero-filled, so the new block's link is already null.
    Block* pBlock = static_cast<Block*>(AllocZeroedBlock(sizeof(Block)));
    if (pBlock == nullptr)
        return FALSE;
    (m_pLast != nullptr ? m_pLast->pNext : m_pFirst) = pBlock;
    m_pLast = pBlock;
    return TRUE;
}

BOOL CEntryBlocks::Append(const ContentEntry& entry)
{
    const int nSlot = m_nCount % BLOCK_ENTRIES;
    if (nSlot == 0 && !AddBlock())
        return FALSE;
    m_pLast->aEntries[nSlot] = entry;
    MakeTitleKey(entry, m_pLast->aKeys[nSlot]);
    ++m_nCount;
    return TRUE;
}

void CEntryBlocks::Gather(ContentEntry* pEntries, TitleKey* pKeys) const
{
    int nLeft = m_nCount;
    for (const Block* pBlock = m_pFirst; pBlock != nullptr; pBlock = pBlock->pNext) {
        const int nInBlock = std::min(nLeft, BLOCK_ENTRIES);
        pEntries = std::copy_n(pBlock->aEntries, nInBlock, pEntries);
        pKeys = std::copy_n(pBlock->aKeys, nInBlock, pKeys);
        nLeft -= nInBlock;
    }
}

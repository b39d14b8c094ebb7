#include "platform/handheldwire/InputQueue.h"

namespace handheldwire {

std::uint16_t CInputQueue::U16At(std::size_t nOffset) const
{
    const std::uint8_t* p = Front() + nOffset;
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t CInputQueue::U32At(std::size_t nOffset) const
{
    return U16At(nOffset) | static_cast<std::uint32_t>(U16At(nOffset + 2)) << 16;
}

void CInputQueue::Drop(std::size_t cb)
{
    m_nFront += cb;
    // Compacting only when all is taken, or the taken part outweighs the
    // rest, keeps the copying linear in the bytes received.
    if (m_nFront == m_bytes.size()) {
        Clear();
    } else if (m_nFront > m_bytes.size() - m_nFront) {
        m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<std::ptrdiff_t>(m_nFront));
        m_nFront = 0;
    }
}

void CInputQueue::Clear()
{
    m_bytes.clear();
    m_nFront = 0;
}

}   // namespace handheldwire

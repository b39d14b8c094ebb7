// Received bytes not yet taken by a state machine: appended as they come,
// looked at from the front, dropped once understood.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace handheldwire {

class CInputQueue
{
public:
    void Append(const std::uint8_t* p, std::size_t cb) { m_bytes.insert(m_bytes.end(), p, p + cb); }
    bool Has(std::size_t cb) const { return m_bytes.size() - m_nFront >= cb; }
    bool IsEmpty() const { return !Has(1); }
    // Callers check Has(nOffset + width) first.
    std::uint16_t U16At(std::size_t nOffset) const;
    std::uint32_t U32At(std::size_t nOffset) const;
    const std::uint8_t* Front() const { return m_bytes.data() + m_nFront; }
    void Drop(std::size_t cb);
    void Clear();

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_nFront = 0;
};

}   // namespace handheldwire

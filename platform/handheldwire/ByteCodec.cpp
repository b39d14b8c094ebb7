#include "platform/handheldwire/ByteCodec.h"

namespace handheldwire {

void CByteWriter::U8(std::uint8_t n)
{
    m_bytes.push_back(n);
}

void CByteWriter::U16(std::uint16_t n)
{
    U8(static_cast<std::uint8_t>(n));
    U8(static_cast<std::uint8_t>(n >> 8));
}

void CByteWriter::U32(std::uint32_t n)
{
    U16(static_cast<std::uint16_t>(n));
    U16(static_cast<std::uint16_t>(n >> 16));
}

void CByteWriter::U64(std::uint64_t n)
{
    U32(static_cast<std::uint32_t>(n));
    U32(static_cast<std::uint32_t>(n >> 32));
}

void CByteWriter::Bytes(const std::uint8_t* p, std::size_t cb)
{
    if (cb > 0)
        m_bytes.insert(m_bytes.end(), p, p + cb);
}

void CByteWriter::Utf16(const std::u16string& str)
{
    for (char16_t ch : str)
        U16(static_cast<std::uint16_t>(ch));
}

void AppendU16(std::vector<std::uint8_t>& bytes, std::uint16_t n)
{
    bytes.push_back(static_cast<std::uint8_t>(n));
    bytes.push_back(static_cast<std::uint8_t>(n >> 8));
}

void AppendU32(std::vector<std::uint8_t>& bytes, std::uint32_t n)
{
    AppendU16(bytes, static_cast<std::uint16_t>(n));
    AppendU16(bytes, static_cast<std::uint16_t>(n >> 16));
}

const std::uint8_t* CByteReader::Consume(std::size_t cb)
{
    if (m_bFailed || cb > m_cb - m_nPos) {
        m_bFailed = true;
        return nullptr;
    }
    const std::uint8_t* p = m_p + m_nPos;
    m_nPos += cb;
    return p;
}

bool CByteReader::U8(std::uint8_t& n)
{
    const std::uint8_t* p = Consume(1);
    if (p)
        n = p[0];
    return p != nullptr;
}

bool CByteReader::U16(std::uint16_t& n)
{
    const std::uint8_t* p = Consume(2);
    if (p)
        n = static_cast<std::uint16_t>(p[0] | p[1] << 8);
    return p != nullptr;
}

bool CByteReader::U32(std::uint32_t& n)
{
    const std::uint8_t* p = Consume(4);
    if (p)
        n = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
            | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return p != nullptr;
}

bool CByteReader::U64(std::uint64_t& n)
{
    std::uint32_t nLow = 0, nHigh = 0;
    if (!U32(nLow) || !U32(nHigh))
        return false;
    n = nLow | static_cast<std::uint64_t>(nHigh) << 32;
    return true;
}

bool CByteReader::Bytes(std::size_t cb, std::vector<std::uint8_t>& out)
{
    const std::uint8_t* p = Consume(cb);
    if (p)
        out.assign(p, p + cb);
    return p != nullptr;
}

bool CByteReader::Utf16(std::size_t nUnits, std::u16string& str)
{
    if (nUnits > Remaining() / 2) {
        m_bFailed = true;
        return false;
    }
    const std::uint8_t* p = Consume(2 * nUnits);
    str.resize(nUnits);
    for (std::size_t i = 0; i < nUnits; ++i)
        str[i] = static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8);
    return true;
}

bool CByteReader::Skip(std::size_t cb)
{
    return Consume(cb) != nullptr;
}

}   // namespace handheldwire

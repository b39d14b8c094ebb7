// Little-endian writing and reading of the handheld's wire fields. Every
// read is checked against what is left; the first failed read makes the
// reader fail for good, so a decoder may check once after its last field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

class CByteWriter
{
public:
    void U8(std::uint8_t n);
    void U16(std::uint16_t n);
    void U32(std::uint32_t n);
    void U64(std::uint64_t n);
    void Bytes(const std::uint8_t* p, std::size_t cb);
    void Bytes(const std::vector<std::uint8_t>& bytes) { Bytes(bytes.data(), bytes.size()); }
    // The units, without a terminator.
    void Utf16(const std::u16string& str);

    const std::vector<std::uint8_t>& Data() const { return m_bytes; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Appends one field to bytes to be sent.
void AppendU16(std::vector<std::uint8_t>& bytes, std::uint16_t n);
void AppendU32(std::vector<std::uint8_t>& bytes, std::uint32_t n);

class CByteReader
{
public:
    CByteReader(const std::uint8_t* p, std::size_t cb) : m_p(p), m_cb(cb) {}

    bool U8(std::uint8_t& n);
    bool U16(std::uint16_t& n);
    bool U32(std::uint32_t& n);
    bool U64(std::uint64_t& n);
    bool Bytes(std::size_t cb, std::vector<std::uint8_t>& out);
    // nUnits is checked against what is left before anything is read.
    bool Utf16(std::size_t nUnits, std::u16string& str);
    // Passes over cb bytes.
    bool Skip(std::size_t cb);

    std::size_t Remaining() const { return m_bFailed ? 0 : m_cb - m_nPos; }
    bool AtEnd() const { return !m_bFailed && m_nPos == m_cb; }
    bool Failed() const { return m_bFailed; }
    // Where the next read starts, from the first byte given.
    std::size_t Position() const { return m_nPos; }

private:
    // The next cb bytes, or null (and failed for good) when fewer are left.
    const std::uint8_t* Consume(std::size_t cb);

    const std::uint8_t* m_p;
    std::size_t m_cb;
    std::size_t m_nPos = 0;
    bool m_bFailed = false;
};

}   // namespace handheldwire

// The request/reply protocol between the stand-in library and the handheld
// emulator (described in PROTOCOL.txt): opcodes, limits, and the encoder and
// decoder of a frame's body. Integers are little-endian, strings are UTF-16
// with a unit count in front and no terminator.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

namespace RapiWire {
constexpr DWORD HELLO_MAGIC = 0x49505254;   // "TRPI"
constexpr DWORD VERSION = 1;
constexpr DWORD MAX_PATH_UNITS = MAX_PATH - 1;   // a path as long as the handheld takes
constexpr DWORD MAX_WRITE_BYTES = 0x10000;       // one write request carries at most 64 KiB
constexpr DWORD MAX_REQUEST_BYTES = MAX_WRITE_BYTES + 64;
constexpr DWORD MAX_REPLY_BYTES = 64u << 20;   // a listing of about 120,000 entries

enum Opcode : BYTE
{
    opHello = 1,
    opFindAllFiles = 2,
    opCreateFile = 3,
    opWriteFile = 4,
    opCloseHandle = 5,
    opDeleteFile = 6,
};
}   // namespace RapiWire

class CWireWriter
{
public:
    void PutByte(BYTE b) { m_bytes.push_back(b); }
    void PutDword(DWORD dw);
    void PutBytes(const void* pData, size_t cb);
    void PutWide(const std::wstring& str);

    const std::vector<BYTE>& Bytes() const { return m_bytes; }

private:
    std::vector<BYTE> m_bytes;
};

// Reads fields in order; any read past the end marks the body malformed and
// yields zeros, so a caller checks IsValid once after the last field.
class CWireReader
{
public:
    CWireReader(const BYTE* pData, size_t cb) : m_pData(pData), m_cb(cb) {}
    explicit CWireReader(const std::vector<BYTE>& body) : CWireReader(body.data(), body.size()) {}

    BYTE GetByte();
    DWORD GetDword();
    // Points at the next cb bytes, or null when fewer remain.
    const BYTE* GetBytes(size_t cb);
    // Refuses (marks malformed) a string longer than nMaxUnits.
    std::wstring GetWide(DWORD nMaxUnits);

    BOOL IsValid() const { return !m_bFailed; }
    BOOL IsAtEnd() const { return !m_bFailed && m_nPos == m_cb; }

private:
    const BYTE* m_pData;
    size_t m_cb;
    size_t m_nPos = 0;
    BOOL m_bFailed = FALSE;
};

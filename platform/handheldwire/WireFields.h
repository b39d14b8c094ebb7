// The fields of the remote calls, in the two directions. A call's layout is
// written once, as a template over these two classes: CFieldWriter puts
// each field's value, CFieldReader takes it back and checks it against the
// bytes received, so encoder and decoder cannot drift apart.
#pragma once

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/RapiCalls.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

// How a name travels in a request.
enum class NameForm
{
    Counted,        // V1: u32 1, u32 units incl. terminator, the units
    Sized,          // V2: u32 bytes incl. terminator, the units
    OptionalSized   // V1 optional string: u32 1, u32 bytes incl. terminator, u32 1, the units
};

// The bytes a FindAllFiles record takes at least with these flags.
std::size_t MinRecordBytes(std::uint32_t dwFlags);

class CFieldWriter
{
public:
    bool U32(std::uint32_t& n);
    bool U64(std::uint64_t& n);
    bool Flag(bool& b);
    bool Marker(std::uint32_t n);
    bool Name(std::u16string& str, NameForm form);
    // u32 count, then the bytes.
    bool Blob(std::vector<std::uint8_t>& bytes);
    bool Count(std::uint32_t& n, std::size_t) { return U32(n); }
    // A FindAllFiles record's name length: units in V1, bytes in V2.
    bool RecordNameLength(std::uint32_t& n, const std::u16string& str, RapiVersion version);
    // Sent without terminator: the length counts only the units.
    bool RecordName(std::uint32_t, std::u16string& str, RapiVersion);
    // u32 size, then CE_FIND_DATA (size 0 and nothing when records is empty).
    bool FindData(std::vector<FindRecord>& records);
    // u32 units without terminator, the units, then the terminator as the device sends it.
    bool ReplyString(std::u16string& str);

    std::vector<std::uint8_t> Take() { return m_writer.Take(); }

private:
    CByteWriter m_writer;
};

class CFieldReader
{
public:
    CFieldReader(const std::uint8_t* p, std::size_t cb) : m_reader(p, cb) {}

    bool U32(std::uint32_t& n) { return m_reader.U32(n); }
    bool U64(std::uint64_t& n) { return m_reader.U64(n); }
    bool Flag(bool& b);
    bool Marker(std::uint32_t n);
    bool Name(std::u16string& str, NameForm form);
    bool Blob(std::vector<std::uint8_t>& bytes);
    // Refuses a count that the bytes left cannot hold.
    bool Count(std::uint32_t& n, std::size_t cbMinEach);
    bool RecordNameLength(std::uint32_t& n, const std::u16string&, RapiVersion) { return U32(n); }
    // Accepts the name with or without a trailing 0x0000, which is dropped.
    bool RecordName(std::uint32_t nLength, std::u16string& str, RapiVersion version);
    bool FindData(std::vector<FindRecord>& records);
    // Accepts the string with or without the terminator after it.
    bool ReplyString(std::u16string& str);

    bool AtEnd() const { return m_reader.AtEnd(); }

private:
    // nUnits units whose last one, and only that, is 0; str gets the rest.
    bool TerminatedUnits(std::size_t nUnits, std::u16string& str);
    // A byte count of a terminated name.
    bool TerminatedBytes(std::uint32_t cb, std::u16string& str);

    CByteReader m_reader;
};

}   // namespace handheldwire

#include "platform/rapi/emulator/HostileWireListing.h"

namespace {
using handheldwire::Call;
using handheldwire::FindRecord;
using handheldwire::RapiReply;
using handheldwire::RapiVersion;

std::vector<std::uint8_t> Encode(std::uint32_t dwFlags, const RapiReply& reply, RapiVersion version)
{
    return handheldwire::EncodeReply(Call::FindAllFiles, dwFlags, reply, version);
}

// The record again, its name run on with 'x' over the whole field, with
// no room left for an end.
FindRecord WithUnterminatedName(FindRecord record)
{
    record.strName.resize(handheldwire::MAX_NAME_UNITS, u'x');
    return record;
}

// Each record followed by its unterminated copy; an empty listing gets
// one such record alone, so that it carries the fault too.
std::vector<std::uint8_t> EncodeUnterminated(std::uint32_t dwFlags, RapiReply reply, RapiVersion version)
{
    std::vector<FindRecord> sent;
    for (const FindRecord& record : reply.records) {
        sent.push_back(record);
        sent.push_back(WithUnterminatedName(record));
    }
    if (sent.empty())
        sent.push_back(WithUnterminatedName(FindRecord()));
    reply.records = sent;
    return Encode(dwFlags, reply, version);
}

void PutU32At(std::vector<std::uint8_t>& bytes, size_t nAt, std::uint32_t n)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[nAt + i] = static_cast<std::uint8_t>(n >> (8 * i));
}

// The count word follows the V1 flag word, or V2's last-error and result.
std::vector<std::uint8_t> EncodeOvercount(std::uint32_t dwFlags, const RapiReply& reply, RapiVersion version)
{
    std::vector<std::uint8_t> bytes = Encode(dwFlags, reply, version);
    const size_t nCountAt = version == RapiVersion::V1 ? 4 : 8;
    PutU32At(bytes, nCountAt, static_cast<std::uint32_t>(reply.records.size()) + 1);
    return bytes;
}

// The count stands; the last record ends halfway (an empty listing gets
// half a record).
std::vector<std::uint8_t> EncodeCut(std::uint32_t dwFlags, RapiReply reply, RapiVersion version)
{
    if (reply.records.empty())
        reply.records.push_back(WithUnterminatedName(FindRecord()));
    std::vector<std::uint8_t> bytes = Encode(dwFlags, reply, version);
    RapiReply shorter = reply;
    shorter.records.pop_back();
    const size_t cbLast = bytes.size() - Encode(dwFlags, shorter, version).size();
    bytes.resize(bytes.size() - (cbLast + 1) / 2);
    return bytes;
}
}   // namespace

std::vector<std::uint8_t> EncodeListingReply(std::uint32_t dwFlags, const RapiReply& reply, RapiVersion version,
                                             ListingFault fault)
{
    if (reply.hrFailure != 0)
        fault = lfNone;
    switch (fault) {
    case lfUnterminated:
        return EncodeUnterminated(dwFlags, reply, version);
    case lfOvercount:
        return EncodeOvercount(dwFlags, reply, version);
    case lfCut:
        return EncodeCut(dwFlags, reply, version);
    default:
        return Encode(dwFlags, reply, version);
    }
}

std::vector<std::uint8_t> EncodeSearchReply(const RapiReply& reply, RapiVersion version, ListingFault fault)
{
    std::vector<std::uint8_t> bytes = handheldwire::EncodeReply(Call::FindFirstFile, 0, reply, version);
    if (reply.records.empty() || reply.hrFailure != 0)
        return bytes;
    // The record ends the reply, its byte count just ahead of it.
    const size_t nRecordAt = bytes.size() - handheldwire::FIND_DATA_BYTES;
    if (fault == lfUnterminated) {
        for (size_t i = bytes.size() - 2 * handheldwire::MAX_NAME_UNITS; i < bytes.size(); i += 2)
            bytes[i] = 'x';
    } else if (fault == lfOvercount) {
        PutU32At(bytes, nRecordAt - 4, handheldwire::FIND_DATA_BYTES + 2);
    } else if (fault == lfCut) {
        bytes.resize(nRecordAt + handheldwire::FIND_DATA_BYTES / 2);
    }
    return bytes;
}

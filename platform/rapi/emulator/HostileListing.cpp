#include "platform/rapi/emulator/HostileListing.h"

#include <algorithm>

namespace {
constexpr size_t RECORD_BYTES = sizeof(CE_FIND_DATA);

void PutRecords(CWireWriter& reply, DWORD nCount, const std::vector<CE_FIND_DATA>& records, size_t cbSent)
{
    reply.PutDword(nCount);
    reply.PutBytes(records.data(), cbSent);
}

// The record again, its name run on with 'x' to the end of the field.
CE_FIND_DATA WithUnterminatedName(CE_FIND_DATA record)
{
    WCHAR* const pEnd = record.cFileName + MAX_PATH;
    std::fill(std::find(record.cFileName, pEnd, L'\0'), pEnd, L'x');
    return record;
}

// Each record followed by its unterminated copy; an empty listing gets one
// such record alone, so that it carries the fault too.
void PutUnterminated(CWireWriter& reply, const std::vector<CE_FIND_DATA>& records)
{
    std::vector<CE_FIND_DATA> sent;
    for (const CE_FIND_DATA& record : records) {
        sent.push_back(record);
        sent.push_back(WithUnterminatedName(record));
    }
    if (sent.empty())
        sent.push_back(WithUnterminatedName(CE_FIND_DATA{}));
    PutRecords(reply, static_cast<DWORD>(sent.size()), sent, sent.size() * RECORD_BYTES);
}

void PutOvercount(CWireWriter& reply, const std::vector<CE_FIND_DATA>& records)
{
    PutRecords(reply, static_cast<DWORD>(records.size() + 1), records, records.size() * RECORD_BYTES);
}

// The count stands; the last record ends halfway.
void PutCut(CWireWriter& reply, const std::vector<CE_FIND_DATA>& records)
{
    std::vector<CE_FIND_DATA> sent = records;
    if (sent.empty())
        sent.push_back(CE_FIND_DATA{});
    PutRecords(reply, static_cast<DWORD>(sent.size()), sent, sent.size() * RECORD_BYTES - RECORD_BYTES / 2);
}
}   // namespace

void PutListing(CWireWriter& reply, const std::vector<CE_FIND_DATA>& records, ListingFault fault)
{
    switch (fault) {
    case lfUnterminated:
        PutUnterminated(reply, records);
        break;
    case lfOvercount:
        PutOvercount(reply, records);
        break;
    case lfCut:
        PutCut(reply, records);
        break;
    default:
        PutRecords(reply, static_cast<DWORD>(records.size()), records, records.size() * RECORD_BYTES);
        break;
    }
}

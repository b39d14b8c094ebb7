#include "platform/rapi/RapiReplies.h"

#include "platform/rapi/RapiWire.h"

#include <string.h>

namespace {
constexpr size_t RECORD_BYTES = sizeof(CE_FIND_DATA);
constexpr size_t NAME_OFFSET = offsetof(CE_FIND_DATA, cFileName);
// The one handle a caller of the 32-bit library could not tell from a
// failed call.
constexpr DWORD INDISTINCT_HANDLE = 0xFFFFFFFF;

// The result of a call that hands back only success or failure.
BOOL IsOutcome(DWORD dwResult)
{
    return dwResult == TRUE || dwResult == FALSE;
}

ReplyStatus ReadStatus(CWireReader& reader)
{
    ReplyStatus status;
    status.dwResult = reader.GetDword();
    status.dwError = reader.GetDword();
    return status;
}

const BYTE* RecordAt(const FindAllFilesReply& reply, DWORD i)
{
    return reply.pRecords + i * RECORD_BYTES;
}

// The units are read byte by byte: a record in the body need not be
// aligned.
BOOL NameEndsInField(const BYTE* pRecord)
{
    const BYTE* pName = pRecord + NAME_OFFSET;
    for (size_t i = 0; i < MAX_PATH; ++i) {
        if (pName[2 * i] == 0 && pName[2 * i + 1] == 0)
            return TRUE;
    }
    return FALSE;
}
}   // namespace

BOOL DecodeHelloReply(const BYTE* pBody, size_t cb, HRESULT* phrAnswer)
{
    CWireReader reader(pBody, cb);
    const ReplyStatus status = ReadStatus(reader);
    if (!reader.IsAtEnd())
        return FALSE;
    *phrAnswer = static_cast<HRESULT>(status.dwResult);
    return TRUE;
}

BOOL DecodeCreateFileReply(const BYTE* pBody, size_t cb, ReplyStatus* pStatus)
{
    CWireReader reader(pBody, cb);
    const ReplyStatus status = ReadStatus(reader);
    if (!reader.IsAtEnd() || status.dwResult == INDISTINCT_HANDLE)
        return FALSE;
    *pStatus = status;
    return TRUE;
}

BOOL DecodeOutcomeReply(const BYTE* pBody, size_t cb, ReplyStatus* pStatus)
{
    CWireReader reader(pBody, cb);
    const ReplyStatus status = ReadStatus(reader);
    if (!reader.IsAtEnd() || !IsOutcome(status.dwResult))
        return FALSE;
    *pStatus = status;
    return TRUE;
}

BOOL DecodeWriteFileReply(const BYTE* pBody, size_t cb, DWORD cbSent, WriteFileReply* pReply)
{
    CWireReader reader(pBody, cb);
    WriteFileReply reply;
    reply.status = ReadStatus(reader);
    reply.cbWritten = reader.GetDword();
    if (!reader.IsAtEnd() || !IsOutcome(reply.status.dwResult) || reply.cbWritten > cbSent)
        return FALSE;
    *pReply = reply;
    return TRUE;
}

BOOL DecodeFindAllFilesReply(const BYTE* pBody, size_t cb, FindAllFilesReply* pReply)
{
    CWireReader reader(pBody, cb);
    FindAllFilesReply reply;
    reply.status = ReadStatus(reader);
    reply.nRecords = reader.GetDword();
    // A count the body could not hold fails before it is multiplied out.
    if (!IsOutcome(reply.status.dwResult) || reply.nRecords > cb / RECORD_BYTES
        || (reply.status.dwResult == FALSE && reply.nRecords > 0))
        return FALSE;
    reply.pRecords = reader.GetBytes(reply.nRecords * RECORD_BYTES);
    if (!reader.IsAtEnd())
        return FALSE;
    *pReply = reply;
    return TRUE;
}

BOOL CopySoundRecords(const FindAllFilesReply& reply, DWORD* pnKept, LPCE_FIND_DATA* ppKept)
{
    DWORD nKept = 0;
    for (DWORD i = 0; i < reply.nRecords; ++i)
        nKept += NameEndsInField(RecordAt(reply, i));
    LPCE_FIND_DATA pKept = nullptr;
    if (nKept > 0) {
        pKept = static_cast<LPCE_FIND_DATA>(LocalAlloc(LMEM_FIXED, nKept * RECORD_BYTES));
        if (!pKept)
            return FALSE;
        LPCE_FIND_DATA pNext = pKept;
        for (DWORD i = 0; i < reply.nRecords; ++i) {
            if (NameEndsInField(RecordAt(reply, i)))
                memcpy(pNext++, RecordAt(reply, i), RECORD_BYTES);
        }
    }
    *pnKept = nKept;
    *ppKept = pKept;
    return TRUE;
}

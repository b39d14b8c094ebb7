// The handheld's replies, one decoder per call: given the body of a reply as
// it came off the link, the call's outcome, or FALSE when the reply does
// not add up (a length, count or value that the bytes received do not bear
// out). Every count is checked against the bytes before anything is read
// by it; a decoder reads nothing outside the body it is given and leaves
// its output untouched when it fails.
#pragma once

#include "platform/rapi/rapi.h"

// The two words every reply begins with.
struct ReplyStatus
{
    DWORD dwResult;
    DWORD dwError;   // the handheld's last error after the call
};

// The handshake: the handheld's answer, an HRESULT.
BOOL DecodeHelloReply(const BYTE* pBody, size_t cb, HRESULT* phrAnswer);
// Creating a file: the result is the handheld's handle, 0 when it failed.
BOOL DecodeCreateFileReply(const BYTE* pBody, size_t cb, ReplyStatus* pStatus);
// Closing a handle or deleting a file: the result is 1 or 0.
BOOL DecodeOutcomeReply(const BYTE* pBody, size_t cb, ReplyStatus* pStatus);

struct WriteFileReply
{
    ReplyStatus status;
    DWORD cbWritten;
};

// Writing cbSent bytes: no more than those can have been written.
BOOL DecodeWriteFileReply(const BYTE* pBody, size_t cb, DWORD cbSent, WriteFileReply* pReply);

struct FindAllFilesReply
{
    ReplyStatus status;
    DWORD nRecords;
    const BYTE* pRecords;   // nRecords CE_FIND_DATA records, inside the body
};

// A listing: a failed one carries no records.
BOOL DecodeFindAllFilesReply(const BYTE* pBody, size_t cb, FindAllFilesReply* pReply);
// The records of a decoded listing whose names end within their field, in
// a block for CeRapiFreeBuffer (null when none is kept); a record whose
// name runs to the end of the field is left out. FALSE, with nothing
// handed back, when memory runs out.
BOOL CopySoundRecords(const FindAllFilesReply& reply, DWORD* pnKept, LPCE_FIND_DATA* ppKept);

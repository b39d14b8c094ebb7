#include "platform/handheldwire/RapiCalls.h"

#include "platform/handheldwire/WireFields.h"

namespace handheldwire {

namespace {
// FILETIMEs travel as u32 low, u32 high: a little-endian u64.
template <class Fields>
bool RecordFields(Fields& fields, FindRecord& record, std::uint32_t dwFlags, RapiVersion version)
{
    std::uint32_t nNameLength = 0;
    const bool bName = (dwFlags & FAF_NAME) != 0;
    return (!bName || fields.RecordNameLength(nNameLength, record.strName, version))
           && (!(dwFlags & FAF_ATTRIBUTES) || fields.U32(record.dwAttributes))
           && (!(dwFlags & FAF_CREATION_TIME) || fields.U64(record.ftCreation))
           && (!(dwFlags & FAF_LASTACCESS_TIME) || fields.U64(record.ftLastAccess))
           && (!(dwFlags & FAF_LASTWRITE_TIME) || fields.U64(record.ftLastWrite))
           && (!(dwFlags & FAF_SIZE_HIGH) || fields.U32(record.nSizeHigh))
           && (!(dwFlags & FAF_SIZE_LOW) || fields.U32(record.nSizeLow))
           && (!(dwFlags & FAF_OID) || fields.U32(record.dwOid))
           && (!bName || fields.RecordName(nNameLength, record.strName, version));
}

template <class Fields>
bool Listing(Fields& fields, std::vector<FindRecord>& records, std::uint32_t dwFlags, RapiVersion version)
{
    std::uint32_t nCount = static_cast<std::uint32_t>(records.size());
    if (!fields.Count(nCount, MinRecordBytes(dwFlags)))
        return false;
    records.resize(nCount);
    for (FindRecord& record : records) {
        if (!RecordFields(fields, record, dwFlags, version))
            return false;
    }
    return true;
}

// The results of each call, after the V1 flag word.
template <class Fields>
bool ReplyLayout(Fields& fields, Call call, std::uint32_t dwFlags, RapiReply& reply, RapiVersion version)
{
    RapiReply& r = reply;
    switch (call) {
    case Call::CreateFile:
    case Call::GetFileAttributes:
    case Call::CloseHandle:
    case Call::FindClose:
    case Call::DeleteFile:
    case Call::CreateDirectory:
    case Call::RemoveDirectory:
    case Call::MoveFile:
    case Call::CopyFile:
        return fields.U32(r.dwLastError) && fields.U32(r.dwResult);
    case Call::WriteFile:
        return fields.U32(r.dwLastError) && fields.U32(r.dwResult) && fields.U32(r.cbDone);
    case Call::ReadFile:
        if (!fields.U32(r.dwLastError) || !fields.U32(r.dwResult) || !fields.Blob(r.data))
            return false;
        r.cbDone = static_cast<std::uint32_t>(r.data.size());
        return true;
    case Call::FindAllFiles:
        // V1 carries neither last-error nor result here; in V2 the word
        // after last-error is taken for the call's result.
        if (version == RapiVersion::V1)
            return Listing(fields, r.records, dwFlags, version);
        return fields.U32(r.dwLastError) && fields.U32(r.dwResult) && Listing(fields, r.records, dwFlags, version);
    case Call::FindFirstFile:
        return fields.U32(r.dwLastError) && fields.U32(r.dwResult) && fields.FindData(r.records);
    case Call::GetSpecialFolderPath:
        return fields.U32(r.dwLastError) && fields.ReplyString(r.strPath);
    }
    return false;
}
}   // namespace

bool FindRecord::operator==(const FindRecord& other) const
{
    return dwAttributes == other.dwAttributes && ftCreation == other.ftCreation && ftLastAccess == other.ftLastAccess
           && ftLastWrite == other.ftLastWrite && nSizeHigh == other.nSizeHigh && nSizeLow == other.nSizeLow
           && dwOid == other.dwOid && strName == other.strName;
}

std::vector<std::uint8_t> EncodeReply(Call call, std::uint32_t dwFlags, const RapiReply& reply, RapiVersion version)
{
    CFieldWriter fields;
    RapiReply copy = reply;
    if (version == RapiVersion::V1) {
        // F = 0 and the results; a failure is F = 1 and the HRESULT alone.
        if (reply.hrFailure != 0) {
            fields.Marker(1);
            fields.Marker(reply.hrFailure);
            return fields.Take();
        }
        fields.Marker(0);
    }
    ReplyLayout(fields, call, dwFlags, copy, version);
    return fields.Take();
}

bool DecodeReply(Call call, std::uint32_t dwFlags, const std::uint8_t* p, std::size_t cb, RapiVersion version,
                 RapiReply& reply)
{
    CFieldReader fields(p, cb);
    RapiReply decoded;
    if (version == RapiVersion::V1) {
        // Any non-zero flag word means an HRESULT follows (some readers
        // test for 1 only; a device sends 0 or 1). A zero HRESULT lets the
        // results follow as if the flag were 0.
        std::uint32_t nFlag = 0;
        if (!fields.U32(nFlag))
            return false;
        if (nFlag != 0 && !fields.U32(decoded.hrFailure))
            return false;
        if (decoded.hrFailure != 0) {
            if (!fields.AtEnd())
                return false;
            reply = std::move(decoded);
            return true;
        }
    }
    if (!ReplyLayout(fields, call, dwFlags, decoded, version) || !fields.AtEnd())
        return false;
    reply = std::move(decoded);
    return true;
}

}   // namespace handheldwire

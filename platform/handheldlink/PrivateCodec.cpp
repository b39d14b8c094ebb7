#include "platform/handheldlink/PrivateCodec.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/FindData.h"

namespace handheldlink {
namespace {
using handheldwire::CByteReader;
using handheldwire::CByteWriter;

// A listing too long for one reply fails whole rather than arriving cut.
constexpr std::uint32_t LISTING_TOO_LONG_ERROR = 8;   // ERROR_NOT_ENOUGH_MEMORY

bool ReadPath(CByteReader& reader, std::u16string& strPath)
{
    std::uint32_t nUnits = 0;
    return reader.U32(nUnits) && nUnits <= MAX_PRIVATE_PATH_UNITS && reader.Utf16(nUnits, strPath);
}

bool ReadFields(CByteReader& reader, PrivateRequest& request)
{
    switch (request.op) {
    case PrivateOp::Hello:
        return reader.U32(request.dwMagic) && reader.U32(request.dwVersion);
    case PrivateOp::FindAllFiles:
        return reader.U32(request.dwFlags) && ReadPath(reader, request.strPath);
    case PrivateOp::CreateFile:
        return reader.U32(request.dwAccess) && reader.U32(request.dwShare) && reader.U32(request.dwDisposition)
               && reader.U32(request.dwAttributes) && ReadPath(reader, request.strPath);
    case PrivateOp::WriteFile: {
        std::uint32_t cb = 0;
        return reader.U32(request.hFile) && reader.U32(cb) && cb <= MAX_PRIVATE_WRITE_BYTES
               && reader.Bytes(cb, request.data);
    }
    case PrivateOp::CloseHandle:
        return reader.U32(request.hFile);
    case PrivateOp::DeleteFile:
        return ReadPath(reader, request.strPath);
    }
    return false;
}
}   // namespace

bool DecodePrivateRequest(const std::uint8_t* p, std::size_t cb, PrivateRequest& request)
{
    CByteReader reader(p, cb);
    std::uint8_t nOp = 0;
    if (!reader.U8(nOp) || nOp < static_cast<std::uint8_t>(PrivateOp::Hello)
        || nOp > static_cast<std::uint8_t>(PrivateOp::DeleteFile))
        return false;
    request = PrivateRequest();
    request.op = static_cast<PrivateOp>(nOp);
    return ReadFields(reader, request) && reader.AtEnd();
}

std::vector<std::uint8_t> EncodeStatusReply(std::uint32_t dwResult, std::uint32_t dwError)
{
    CByteWriter writer;
    writer.U32(dwResult);
    writer.U32(dwError);
    return writer.Take();
}

std::vector<std::uint8_t> EncodeWriteReply(std::uint32_t dwResult, std::uint32_t dwError, std::uint32_t cbWritten)
{
    CByteWriter writer;
    writer.U32(dwResult);
    writer.U32(dwError);
    writer.U32(cbWritten);
    return writer.Take();
}

std::vector<std::uint8_t> EncodeListingReply(std::uint32_t dwResult, std::uint32_t dwError,
                                             const std::vector<handheldwire::FindRecord>& records)
{
    CByteWriter body;
    std::uint32_t nKept = 0;
    for (const handheldwire::FindRecord& record : records) {
        if (dwResult == 0 || nKept > MAX_PRIVATE_RECORDS)
            break;
        if (record.strName.size() >= handheldwire::MAX_NAME_UNITS)
            continue;
        handheldwire::WriteFindData(body, record);
        ++nKept;
    }
    if (nKept > MAX_PRIVATE_RECORDS)
        return EncodeListingReply(0, LISTING_TOO_LONG_ERROR, {});
    CByteWriter writer;
    writer.U32(dwResult);
    writer.U32(dwError);
    writer.U32(nKept);
    writer.Bytes(body.Data());
    return writer.Take();
}

}   // namespace handheldlink

// The loopback protocol of the stand-in library, on the serving side:
// request bodies (ops 1 to 6) decoded with every length checked, replies
// encoded. A body is taken only when its fields add up to exactly its bytes.
#pragma once

#include "platform/handheldwire/RapiCalls.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldlink {

constexpr std::uint32_t PRIVATE_MAGIC = 0x49505254;
constexpr std::uint32_t PRIVATE_VERSION = 1;
constexpr std::uint32_t MAX_PRIVATE_PATH_UNITS = 259;
constexpr std::uint32_t MAX_PRIVATE_WRITE_BYTES = 0x10000;
constexpr std::uint32_t MAX_PRIVATE_REQUEST_BYTES = MAX_PRIVATE_WRITE_BYTES + 64;
constexpr std::uint32_t MAX_PRIVATE_REPLY_BYTES = 64u << 20;

enum class PrivateOp : std::uint8_t
{
    Hello = 1,
    FindAllFiles = 2,
    CreateFile = 3,
    WriteFile = 4,
    CloseHandle = 5,
    DeleteFile = 6
};

struct PrivateRequest
{
    PrivateOp op = PrivateOp::Hello;
    std::uint32_t dwMagic = 0, dwVersion = 0;                                       // Hello
    std::uint32_t dwFlags = 0;                                                      // FindAllFiles
    std::uint32_t dwAccess = 0, dwShare = 0, dwDisposition = 0, dwAttributes = 0;   // CreateFile
    std::uint32_t hFile = 0;                                                        // WriteFile, CloseHandle
    std::vector<std::uint8_t> data;                                                 // WriteFile
    std::u16string strPath;                                                         // pattern or path
};
bool DecodePrivateRequest(const std::uint8_t* p, std::size_t cb, PrivateRequest& request);

// Result and error: the whole reply of ops 1, 3, 5 and 6.
std::vector<std::uint8_t> EncodeStatusReply(std::uint32_t dwResult, std::uint32_t dwError);
std::vector<std::uint8_t> EncodeWriteReply(std::uint32_t dwResult, std::uint32_t dwError, std::uint32_t cbWritten);
// Each record as a 560-byte CE_FIND_DATA; a record whose name does not
// fit its 260 units with the terminator is left out and not counted. A
// failed listing carries none; one of more than MAX_PRIVATE_RECORDS fails.
std::vector<std::uint8_t> EncodeListingReply(std::uint32_t dwResult, std::uint32_t dwError,
                                             const std::vector<handheldwire::FindRecord>& records);
// The most records a listing reply carries within its size limit.
constexpr std::uint32_t MAX_PRIVATE_RECORDS = (MAX_PRIVATE_REPLY_BYTES - 12) / handheldwire::FIND_DATA_BYTES;

}   // namespace handheldlink

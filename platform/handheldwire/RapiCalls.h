// The remote calls the program and the emulator use, in both protocol
// versions: command codes, and the payloads of requests and replies (the
// frame's length word not included). Decoders take a payload only when
// every count and length adds up to exactly the bytes given.
#pragma once

#include "platform/handheldwire/Frames.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

enum class Call
{
    CreateFile,
    WriteFile,
    CloseHandle,
    DeleteFile,
    FindAllFiles,
    FindFirstFile,
    FindClose,
    GetFileAttributes,
    ReadFile,
    CreateDirectory,
    RemoveDirectory,
    MoveFile,
    CopyFile,
    GetSpecialFolderPath
};
constexpr Call ALL_CALLS[] = { Call::CreateFile,      Call::WriteFile,           Call::CloseHandle,
                               Call::DeleteFile,      Call::FindAllFiles,        Call::FindFirstFile,
                               Call::FindClose,       Call::GetFileAttributes,   Call::ReadFile,
                               Call::CreateDirectory, Call::RemoveDirectory,     Call::MoveFile,
                               Call::CopyFile,        Call::GetSpecialFolderPath };

std::uint32_t CommandCode(Call call, RapiVersion version);
// False for a code no call of that version has.
bool CallOfCode(std::uint32_t nCode, RapiVersion version, Call& call);

struct RapiRequest
{
    Call call = Call::CreateFile;
    std::u16string strName;      // path or pattern; Move/Copy: the source. Without terminator.
    std::u16string strNewName;   // Move/Copy: the target
    std::uint32_t dwAccess = 0, dwShare = 0, dwCreation = 0, dwFlagsAndAttributes = 0, hTemplate = 0;   // CreateFile
    std::uint32_t hFile = 0;                     // WriteFile, ReadFile, CloseHandle, FindClose
    std::vector<std::uint8_t> data;              // WriteFile
    std::uint32_t cbToRead = 0;                  // ReadFile
    std::uint32_t dwFlags = 0;                   // FindAllFiles: FAF_ flags
    bool bFailIfExists = false;                  // CopyFile
    std::uint32_t dwFolder = 0, cchBuffer = 0;   // GetSpecialFolderPath
};
std::vector<std::uint8_t> EncodeRequest(const RapiRequest& request, RapiVersion version);
// Exact fit or false.
bool DecodeRequest(const std::uint8_t* p, std::size_t cb, RapiVersion version, RapiRequest& request);

constexpr std::uint32_t FAF_ATTRIBUTES = 0x0001, FAF_CREATION_TIME = 0x0002, FAF_LASTACCESS_TIME = 0x0004,
                        FAF_LASTWRITE_TIME = 0x0008, FAF_SIZE_HIGH = 0x0010, FAF_SIZE_LOW = 0x0020, FAF_OID = 0x0040,
                        FAF_NAME = 0x0080, FAF_ATTRIB_CHILDREN = 0x1000, FAF_ATTRIB_NO_HIDDEN = 0x2000,
                        FAF_FOLDERS_ONLY = 0x4000, FAF_NO_HIDDEN_SYS_ROMMODULES = 0x8000;
constexpr std::uint32_t MAX_NAME_UNITS = 260;   // a name field's units, terminator included
// A listing whose records carry no field at all has nothing to bound its
// count by; this many such records are taken, no more.
constexpr std::uint32_t MAX_BARE_RECORDS = 4096;
// The fixed size of CE_FIND_DATA: attributes, three FILETIMEs, size high,
// size low, object id, 260 name units.
constexpr std::uint32_t FIND_DATA_BYTES = 40 + 2 * MAX_NAME_UNITS;

// One CeFindAllFiles record, or the CE_FIND_DATA of CeFindFirstFile.
struct FindRecord
{
    std::uint32_t dwAttributes = 0;
    std::uint64_t ftCreation = 0, ftLastAccess = 0, ftLastWrite = 0;   // FILETIME as low | high << 32
    std::uint32_t nSizeHigh = 0, nSizeLow = 0, dwOid = 0;
    std::u16string strName;   // bare entry name, no terminator

    bool operator==(const FindRecord& other) const;
};

struct RapiReply
{
    std::uint32_t hrFailure = 0;   // V1: F non-zero and this HRESULT non-zero: the call failed, nothing else is carried
    std::uint32_t dwLastError = 0;
    std::uint32_t dwResult = 0;        // BOOL, handle or attributes, as the call returns
    std::uint32_t cbDone = 0;          // WriteFile: bytes written
    std::vector<std::uint8_t> data;    // ReadFile: the bytes read (cbDone = data.size())
    std::vector<FindRecord> records;   // FindAllFiles: all; FindFirstFile: one (none when it failed)
    std::u16string strPath;            // GetSpecialFolderPath
};
// dwFlags: the FAF_ flags of the FindAllFiles request (other calls ignore it).
std::vector<std::uint8_t> EncodeReply(Call call, std::uint32_t dwFlags, const RapiReply& reply, RapiVersion version);
// False when anything does not add up.
bool DecodeReply(Call call, std::uint32_t dwFlags, const std::uint8_t* p, std::size_t cb, RapiVersion version,
                 RapiReply& reply);

}   // namespace handheldwire

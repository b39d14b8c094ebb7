#include "platform/handheldwire/RapiCalls.h"

namespace handheldwire {

namespace {
struct CodePair
{
    Call call;
    std::uint32_t nV1, nV2;
};
constexpr CodePair CODES[] = {
    { Call::CreateFile, 0x05, 0x16 },      { Call::WriteFile, 0x07, 0x18 },
    { Call::CloseHandle, 0x08, 0x19 },     { Call::DeleteFile, 0x1C, 0x2D },
    { Call::FindAllFiles, 0x09, 0x1A },    { Call::FindFirstFile, 0x00, 0x11 },
    { Call::FindClose, 0x02, 0x13 },       { Call::GetFileAttributes, 0x03, 0x14 },
    { Call::ReadFile, 0x06, 0x17 },        { Call::CreateDirectory, 0x17, 0x28 },
    { Call::RemoveDirectory, 0x18, 0x29 }, { Call::MoveFile, 0x1A, 0x2B },
    { Call::CopyFile, 0x1B, 0x2C },        { Call::GetSpecialFolderPath, 0x44, 0x4B },
};

std::uint32_t CodeIn(const CodePair& pair, RapiVersion version)
{
    return version == RapiVersion::V1 ? pair.nV1 : pair.nV2;
}
}   // namespace

std::uint32_t CommandCode(Call call, RapiVersion version)
{
    for (const CodePair& pair : CODES) {
        if (pair.call == call)
            return CodeIn(pair, version);
    }
    return CodeIn(CODES[0], version);
}

bool CallOfCode(std::uint32_t nCode, RapiVersion version, Call& call)
{
    for (const CodePair& pair : CODES) {
        if (CodeIn(pair, version) == nCode) {
            call = pair.call;
            return true;
        }
    }
    return false;
}

}   // namespace handheldwire

#include "platform/handheldwire/DeviceInfo.h"

#include "platform/handheldwire/ByteCodec.h"

#include <algorithm>

namespace handheldwire {

namespace {
// The fixed part: up to the three string offsets.
constexpr std::uint32_t HEADER_BYTES = 36;
// Platform and model names, without terminator; the blob is short anyway.
constexpr std::size_t MAX_TEXT_UNITS = 259;

std::u16string Widened(const std::string& str)
{
    return std::u16string(str.begin(), str.end());
}

void PutTerminated(CByteWriter& writer, const std::u16string& str)
{
    writer.Utf16(str);
    writer.U16(0);
}

std::uint32_t TerminatedBytes(const std::u16string& str)
{
    return static_cast<std::uint32_t>(2 * (str.size() + 1));
}

// The NUL-terminated UTF-16 string at nOffset, which must start after the
// fixed part and end within the blob and within nMaxUnits units.
bool StringAt(const std::uint8_t* p, std::size_t cb, std::uint32_t nOffset, std::size_t nMaxUnits, std::u16string& str)
{
    if (nOffset < HEADER_BYTES || nOffset >= cb)
        return false;
    std::u16string strRoom;
    CByteReader reader(p + nOffset, cb - nOffset);
    reader.Utf16(std::min(reader.Remaining() / 2, nMaxUnits + 1), strRoom);
    const std::size_t nEnd = strRoom.find(u'\0');
    if (nEnd == std::u16string::npos)
        return false;
    str = strRoom.substr(0, nEnd);
    return true;
}

bool AsciiStringAt(const std::uint8_t* p, std::size_t cb, std::uint32_t nOffset, std::string& str)
{
    std::u16string strWide;
    if (!StringAt(p, cb, nOffset, MAX_TEXT_UNITS, strWide))
        return false;
    if (std::any_of(strWide.begin(), strWide.end(), [](char16_t ch) { return ch > 0x7F; }))
        return false;
    str.assign(strWide.begin(), strWide.end());
    return true;
}
}   // namespace

std::vector<std::uint8_t> EncodeLegacyInfo(const DeviceInfo& info)
{
    const std::u16string strPlatform = Widened(info.strPlatform);
    const std::u16string strModel = Widened(info.strModel);
    const std::uint32_t nPlatformOffset = HEADER_BYTES + TerminatedBytes(info.strName);
    CByteWriter writer;
    writer.U32(0);
    writer.U8(static_cast<std::uint8_t>(info.nOsMajor));
    writer.U8(static_cast<std::uint8_t>(info.nOsMinor));
    writer.U16(static_cast<std::uint16_t>(info.nBuild));
    writer.U16(static_cast<std::uint16_t>(info.dwCpuType));
    writer.U16(0);
    writer.U32(0);
    writer.U32(info.dwCurrentPartner);
    writer.U32(info.dwSecondPartner);
    writer.U32(HEADER_BYTES);
    writer.U32(nPlatformOffset);
    writer.U32(nPlatformOffset + TerminatedBytes(strPlatform));
    PutTerminated(writer, info.strName);
    PutTerminated(writer, strPlatform);
    PutTerminated(writer, strModel);
    return writer.Take();
}

bool DecodeLegacyInfo(const std::uint8_t* p, std::size_t cb, DeviceInfo& info)
{
    CByteReader reader(p, cb);
    DeviceInfo decoded;
    std::uint8_t nMajor = 0, nMinor = 0;
    std::uint16_t nBuild = 0, nCpu = 0;
    std::uint32_t nNameOffset = 0, nPlatformOffset = 0, nModelOffset = 0;
    const bool bHeader = reader.Skip(4) && reader.U8(nMajor) && reader.U8(nMinor) && reader.U16(nBuild)
                         && reader.U16(nCpu) && reader.Skip(6) && reader.U32(decoded.dwCurrentPartner)
                         && reader.U32(decoded.dwSecondPartner) && reader.U32(nNameOffset)
                         && reader.U32(nPlatformOffset) && reader.U32(nModelOffset);
    if (!bHeader || !StringAt(p, cb, nNameOffset, MAX_DEVICE_NAME_UNITS, decoded.strName)
        || !AsciiStringAt(p, cb, nPlatformOffset, decoded.strPlatform)
        || !AsciiStringAt(p, cb, nModelOffset, decoded.strModel))
        return false;
    decoded.nOsMajor = nMajor;
    decoded.nOsMinor = nMinor;
    decoded.nBuild = nBuild;
    decoded.dwCpuType = nCpu;
    // No GUID on this kind: the blob's first bytes stand in for one.
    std::copy(p, p + sizeof(decoded.guid), decoded.guid);
    info = std::move(decoded);
    return true;
}

}   // namespace handheldwire

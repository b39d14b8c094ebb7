#include "platform/handheldwire/DeviceInfo.h"

#include "platform/handheldwire/ByteCodec.h"

#include <algorithm>

namespace handheldwire {

namespace {
bool HasNul(const std::string& str)
{
    return str.find('\0') != std::string::npos;
}

void PutAscii(CByteWriter& writer, const std::string& str)
{
    writer.Bytes(reinterpret_cast<const std::uint8_t*>(str.data()), str.size());
}

bool ReadName(CByteReader& reader, std::u16string& strName)
{
    std::uint32_t nUnits = 0;
    std::uint16_t nTerminator = 1;
    return reader.U32(nUnits) && nUnits <= MAX_DEVICE_NAME_UNITS && reader.Utf16(nUnits, strName)
           && reader.U16(nTerminator) && nTerminator == 0 && strName.find(u'\0') == std::u16string::npos;
}

// P bytes holding a list of NUL-terminated names that ends in an extra
// NUL; the first name is the platform.
bool ReadPlatform(CByteReader& reader, std::string& strPlatform)
{
    std::uint32_t cb = 0;
    std::vector<std::uint8_t> bytes;
    if (!reader.U32(cb) || !reader.Bytes(cb, bytes))
        return false;
    const auto itEnd = std::find(bytes.begin(), bytes.end(), 0);
    if (itEnd == bytes.end())
        return false;
    strPlatform.assign(bytes.begin(), itEnd);
    return true;
}

// M bytes of model name, then its NUL, which M does not count.
bool ReadModel(CByteReader& reader, std::string& strModel)
{
    std::uint32_t cb = 0;
    std::vector<std::uint8_t> bytes;
    if (!reader.U32(cb) || cb >= reader.Remaining() || !reader.Bytes(std::size_t{ cb } + 1, bytes))
        return false;
    if (bytes.back() != 0)
        return false;
    strModel.assign(bytes.begin(), bytes.end() - 1);
    return !HasNul(strModel);
}

bool ReadComponents(CByteReader& reader, std::vector<std::uint64_t>& components)
{
    std::uint32_t nCount = 0;
    if (!reader.U32(nCount) || nCount > MAX_COMPONENTS)
        return false;
    components.resize(nCount);
    for (std::uint64_t& n : components) {
        if (!reader.U64(n))
            return false;
    }
    return true;
}

// Some readers take the key as the last four bytes of the blob, others
// look for data after it: the blob sent ends with the key, and a blob
// read may carry u32 size + bytes after the key.
bool SkipExtraData(CByteReader& reader)
{
    std::uint32_t cb = 0;
    return reader.AtEnd() || (reader.U32(cb) && reader.Skip(cb) && reader.AtEnd());
}
}   // namespace

std::vector<std::uint8_t> EncodeUsbInfo(const DeviceInfo& info)
{
    CByteWriter writer;
    writer.Bytes(info.guid, sizeof(info.guid));
    writer.U32(info.nOsMajor);
    writer.U32(info.nOsMinor);
    writer.U32(static_cast<std::uint32_t>(info.strName.size()));
    writer.Utf16(info.strName);
    writer.U16(0);
    writer.U32(info.dwVersion);
    writer.U32(info.dwCpuType);
    writer.U32(0);   // a word whose meaning is not known
    writer.U32(info.dwCurrentPartner);
    writer.U32(info.dwId);
    // The platform list: one name, its NUL, and the list's closing NUL.
    writer.U32(static_cast<std::uint32_t>(info.strPlatform.size() + 2));
    PutAscii(writer, info.strPlatform);
    writer.U16(0);
    writer.U32(static_cast<std::uint32_t>(info.strModel.size()));
    PutAscii(writer, info.strModel);
    writer.U8(0);
    writer.U32(static_cast<std::uint32_t>(info.components.size()));
    for (std::uint64_t n : info.components)
        writer.U64(n);
    writer.U32(info.dwPasswordKey);
    return writer.Take();
}

bool DecodeUsbInfo(const std::uint8_t* p, std::size_t cb, DeviceInfo& info)
{
    CByteReader reader(p, cb);
    DeviceInfo decoded;
    std::vector<std::uint8_t> guid;
    const bool bRead =
        reader.Bytes(sizeof(decoded.guid), guid) && reader.U32(decoded.nOsMajor) && reader.U32(decoded.nOsMinor)
        && ReadName(reader, decoded.strName) && reader.U32(decoded.dwVersion) && reader.U32(decoded.dwCpuType)
        && reader.Skip(4) && reader.U32(decoded.dwCurrentPartner) && reader.U32(decoded.dwId)
        && ReadPlatform(reader, decoded.strPlatform) && ReadModel(reader, decoded.strModel)
        && ReadComponents(reader, decoded.components) && reader.U32(decoded.dwPasswordKey) && SkipExtraData(reader);
    if (!bRead)
        return false;
    std::copy(guid.begin(), guid.end(), decoded.guid);
    info = std::move(decoded);
    return true;
}

}   // namespace handheldwire

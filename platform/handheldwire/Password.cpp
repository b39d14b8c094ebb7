#include "platform/handheldwire/Password.h"

#include "platform/handheldwire/ByteCodec.h"

#include <algorithm>

namespace handheldwire {

namespace {
// The most units a u16 byte count holds with the terminator.
constexpr std::size_t MAX_PASSWORD_UNITS = 0xFFFF / 2 - 1;
}   // namespace

std::vector<std::uint8_t> EncodePassword(const std::u16string& strPassword, std::uint8_t nKey)
{
    // The count includes the terminator, as most readers expect; DecodePassword takes both.
    CByteWriter units;
    units.Utf16(strPassword.substr(0, std::min(strPassword.size(), MAX_PASSWORD_UNITS)));
    units.U16(0);
    std::vector<std::uint8_t> bytes = units.Take();
    CByteWriter writer;
    writer.U16(static_cast<std::uint16_t>(bytes.size()));
    for (std::uint8_t& b : bytes)
        b ^= nKey;
    writer.Bytes(bytes);
    return writer.Take();
}

bool DecodePassword(const std::uint8_t* p, std::size_t cb, std::uint8_t nKey, std::u16string& strPassword)
{
    if (cb % 2 != 0 || cb > 0xFFFF)
        return false;
    std::vector<std::uint8_t> bytes(p, p + cb);
    for (std::uint8_t& b : bytes)
        b ^= nKey;
    std::u16string str;
    CByteReader(bytes.data(), bytes.size()).Utf16(cb / 2, str);
    if (!str.empty() && str.back() == u'\0')
        str.pop_back();
    if (str.find(u'\0') != std::u16string::npos)
        return false;
    strPassword = std::move(str);
    return true;
}

}   // namespace handheldwire

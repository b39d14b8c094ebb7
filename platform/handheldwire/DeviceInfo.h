// The info blocks a handheld sends on its control connection: the USB
// kind (OS 5.x) after request 4, the legacy kind (OS 4.x and earlier)
// after its header word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

constexpr std::uint32_t MAX_DEVICE_NAME_UNITS = 31;   // without terminator
constexpr std::uint32_t MAX_COMPONENTS = 6;
constexpr std::uint32_t PASSWORD_NONE = 0;
constexpr std::uint32_t PASSWORD_ON_DEVICE = 0xFFFFFFFF;

struct DeviceInfo
{
    std::uint8_t guid[16] = {};
    std::uint32_t nOsMajor = 5, nOsMinor = 2, nBuild = 0;
    std::u16string strName;   // at most 31 units
    std::uint32_t dwVersion = 0, dwCpuType = 0, dwCurrentPartner = 0, dwId = 0, dwSecondPartner = 0;
    std::string strPlatform, strModel;       // ASCII (legacy: sent as UTF-16)
    std::vector<std::uint64_t> components;   // USB only, at most 6
    std::uint32_t dwPasswordKey = 0;   // USB: 0 none, 0xFFFFFFFF unlock on the device, else XOR key in the low byte
};

// The blob, without its u32 N.
std::vector<std::uint8_t> EncodeUsbInfo(const DeviceInfo& info);
bool DecodeUsbInfo(const std::uint8_t* p, std::size_t cb, DeviceInfo& info);
// The blob, without its u32 H.
std::vector<std::uint8_t> EncodeLegacyInfo(const DeviceInfo& info);
bool DecodeLegacyInfo(const std::uint8_t* p, std::size_t cb, DeviceInfo& info);

}   // namespace handheldwire

#include "platform/rapi/emulator/HandheldIdentity.h"

#include "platform/rapi/emulator/WireConversions.h"

namespace {
constexpr std::uint32_t PROCESSOR_ARM = 2577;

// The same name gives the same GUID, so a handheld is known again.
void FillGuid(const std::wstring& strName, std::uint8_t guid[16])
{
    std::uint32_t dwHash = 2166136261u;
    for (int i = 0; i < 16; ++i) {
        for (wchar_t ch : strName)
            dwHash = (dwHash ^ ch) * 16777619u;
        dwHash = (dwHash ^ static_cast<std::uint32_t>(i)) * 16777619u;
        guid[i] = static_cast<std::uint8_t>(dwHash >> 24);
    }
}

std::uint32_t PasswordKeyOf(const EmulatorOptions& options)
{
    if (options.bUnlockOnDevice)
        return handheldwire::PASSWORD_ON_DEVICE;
    return options.strPassword.empty() ? handheldwire::PASSWORD_NONE : PASSWORD_KEY;
}
}   // namespace

handheldwire::DeviceInfo MakeDeviceInfo(const EmulatorOptions& options)
{
    handheldwire::DeviceInfo info;
    FillGuid(options.strName, info.guid);
    info.nOsMajor = options.nOsMajor;
    info.nOsMinor = options.nOsMinor;
    info.nBuild = 14847;
    info.strName = Utf16Of(options.strName);
    info.dwCpuType = PROCESSOR_ARM;
    info.strPlatform = "PocketPC";
    info.strModel = "Emulator";
    info.dwPasswordKey = PasswordKeyOf(options);
    return info;
}

// Who the emulated handheld says it is on its control connection: name,
// a GUID of its own, OS version, platform and model, and the password key.
#pragma once

#include "platform/handheldwire/DeviceInfo.h"
#include "platform/rapi/emulator/EmulatorOptions.h"

#include <cstdint>

// The low byte of the key every password is XORed with.
constexpr std::uint8_t PASSWORD_KEY = 0xA5;

handheldwire::DeviceInfo MakeDeviceInfo(const EmulatorOptions& options);

// Shared by the wire tests: bytes written as hex, and a sample of every
// call's request and reply, each filling only the fields its call carries.
#pragma once

#include "platform/handheldwire/DeviceInfo.h"
#include "platform/handheldwire/RapiCalls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wiretest {
using Bytes = std::vector<std::uint8_t>;

// "0A 0b ..." to bytes; spaces and '|' separate nothing.
Bytes Hex(const char* psz);
Bytes Concat(const std::vector<Bytes>& parts);

handheldwire::RapiRequest SampleRequest(handheldwire::Call call);
handheldwire::RapiReply SampleReply(handheldwire::Call call, std::uint32_t dwFlags);
// The FAF_ flags a FindAllFiles reply is tried with: none, each field, all.
std::vector<std::uint32_t> ListingFlags();
handheldwire::DeviceInfo SampleInfo(std::uint32_t dwPasswordKey);
handheldwire::DeviceInfo SampleLegacyInfo(std::uint32_t dwPasswordKey);

bool SameRequest(const handheldwire::RapiRequest& a, const handheldwire::RapiRequest& b);
bool SameReply(const handheldwire::RapiReply& a, const handheldwire::RapiReply& b);
bool SameInfo(const handheldwire::DeviceInfo& a, const handheldwire::DeviceInfo& b);
}   // namespace wiretest

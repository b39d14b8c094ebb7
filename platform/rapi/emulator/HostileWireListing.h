// Listing replies of the handheld's own protocol as a faulty handheld
// sends them: records whose name fills its whole field with no end, a
// count larger than the records sent, a last record cut short.
#pragma once

#include "platform/handheldwire/RapiCalls.h"
#include "platform/rapi/emulator/EmulatorOptions.h"

#include <cstdint>
#include <vector>

// The encoded FindAllFiles reply, spoiled as the fault says (lfNone: as it is).
std::vector<std::uint8_t> EncodeListingReply(std::uint32_t dwFlags, const handheldwire::RapiReply& reply,
                                             handheldwire::RapiVersion version, ListingFault fault);

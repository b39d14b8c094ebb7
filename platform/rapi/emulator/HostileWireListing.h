// Listing and search replies of the handheld's own protocol as a faulty
// handheld sends them: records whose name fills its whole field with no
// end, a count larger than the records sent, a last record cut short.
#pragma once

// Ahead of the wire library: some of its call names (FindFirstFile...) are
// also Win32 macros, which must rename them alike wherever they are used.
#include <windows.h>

#include "platform/handheldwire/RapiCalls.h"
#include "platform/rapi/emulator/EmulatorOptions.h"

#include <cstdint>
#include <vector>

// The encoded FindAllFiles reply, spoiled as the fault says (lfNone: as it is).
std::vector<std::uint8_t> EncodeListingReply(std::uint32_t dwFlags, const handheldwire::RapiReply& reply,
                                             handheldwire::RapiVersion version, ListingFault fault);
// The encoded FindFirstFile reply, its CE_FIND_DATA spoiled as the fault
// says: the name field filled with no end, a byte count two larger than
// the record sent, or the record cut off halfway. A search that found
// nothing goes out as it is.
std::vector<std::uint8_t> EncodeSearchReply(const handheldwire::RapiReply& reply, handheldwire::RapiVersion version,
                                            ListingFault fault);

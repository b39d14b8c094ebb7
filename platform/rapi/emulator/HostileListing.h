// Listing replies as a faulty or hostile handheld sends them: names that
// fill their field without a terminator, a count larger than the records
// sent, a last record cut short.
#pragma once

#include "platform/rapi/RapiWire.h"
#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/rapi.h"

#include <vector>

// Puts the count and the records of a listing into its reply, spoiled as
// the fault says (lfNone: as they are).
void PutListing(CWireWriter& reply, const std::vector<CE_FIND_DATA>& records, ListingFault fault);

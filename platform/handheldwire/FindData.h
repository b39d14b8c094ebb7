// CE_FIND_DATA as the handheld lays it out: attributes, three FILETIMEs,
// size high, size low, object id and a fixed 260-unit name field. Both
// protocols that carry a whole record (the handheld's FindFirstFile reply
// and the stand-in's listing) write it the same way.
#pragma once

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/RapiCalls.h"

namespace handheldwire {

// Writes FIND_DATA_BYTES bytes. A name longer than the field holds keeps its
// first MAX_NAME_UNITS - 1 units and the terminator; callers that must not
// cut a name leave such records out first.
void WriteFindData(CByteWriter& writer, const FindRecord& record);

}   // namespace handheldwire

#include "platform/handheldwire/FindData.h"

#include <algorithm>

namespace handheldwire {

void WriteFindData(CByteWriter& writer, const FindRecord& record)
{
    writer.U32(record.dwAttributes);
    writer.U64(record.ftCreation);
    writer.U64(record.ftLastAccess);
    writer.U64(record.ftLastWrite);
    writer.U32(record.nSizeHigh);
    writer.U32(record.nSizeLow);
    writer.U32(record.dwOid);
    const std::size_t nUnits = std::min<std::size_t>(record.strName.size(), MAX_NAME_UNITS - 1);
    writer.Utf16(record.strName.substr(0, nUnits));
    for (std::size_t i = nUnits; i < MAX_NAME_UNITS; ++i)
        writer.U16(0);
}

}   // namespace handheldwire

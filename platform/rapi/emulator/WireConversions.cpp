#include "platform/rapi/emulator/WireConversions.h"

namespace {
std::uint64_t TimeOf(const FILETIME& ft)
{
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}
}   // namespace

std::wstring WideOf(const std::u16string& str)
{
    return std::wstring(str.begin(), str.end());
}

std::u16string Utf16Of(const std::wstring& str)
{
    return std::u16string(str.begin(), str.end());
}

handheldwire::FindRecord RecordOf(const CE_FIND_DATA& data)
{
    handheldwire::FindRecord record;
    record.dwAttributes = data.dwFileAttributes;
    record.ftCreation = TimeOf(data.ftCreationTime);
    record.ftLastAccess = TimeOf(data.ftLastAccessTime);
    record.ftLastWrite = TimeOf(data.ftLastWriteTime);
    record.nSizeHigh = data.nFileSizeHigh;
    record.nSizeLow = data.nFileSizeLow;
    record.dwOid = data.dwOID;
    record.strName = Utf16Of(data.cFileName);
    return record;
}

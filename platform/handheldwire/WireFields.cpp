#include "platform/handheldwire/WireFields.h"

#include "platform/handheldwire/FindData.h"

namespace handheldwire {

namespace {
constexpr std::size_t FIND_DATA_FIXED_BYTES = FIND_DATA_BYTES - 2 * MAX_NAME_UNITS;

bool HasZeroUnit(const std::u16string& str)
{
    return str.find(u'\0') != std::u16string::npos;
}

std::uint32_t TerminatedByteCount(const std::u16string& str)
{
    return static_cast<std::uint32_t>(2 * (str.size() + 1));
}
}   // namespace

std::size_t MinRecordBytes(std::uint32_t dwFlags)
{
    std::size_t cb = 0;
    for (std::uint32_t dwWord : { FAF_NAME, FAF_ATTRIBUTES, FAF_SIZE_HIGH, FAF_SIZE_LOW, FAF_OID })
        cb += (dwFlags & dwWord) ? 4 : 0;
    for (std::uint32_t dwTime : { FAF_CREATION_TIME, FAF_LASTACCESS_TIME, FAF_LASTWRITE_TIME })
        cb += (dwFlags & dwTime) ? 8 : 0;
    return cb;
}

bool CFieldWriter::U32(std::uint32_t& n)
{
    m_writer.U32(n);
    return true;
}

bool CFieldWriter::U64(std::uint64_t& n)
{
    m_writer.U64(n);
    return true;
}

bool CFieldWriter::Flag(bool& b)
{
    return Marker(b ? 1 : 0);
}

bool CFieldWriter::Marker(std::uint32_t n)
{
    m_writer.U32(n);
    return true;
}

bool CFieldWriter::Name(std::u16string& str, NameForm form)
{
    switch (form) {
    case NameForm::Counted:
        m_writer.U32(1);
        m_writer.U32(static_cast<std::uint32_t>(str.size() + 1));
        break;
    case NameForm::Sized:
        m_writer.U32(TerminatedByteCount(str));
        break;
    case NameForm::OptionalSized:
        m_writer.U32(1);
        m_writer.U32(TerminatedByteCount(str));
        m_writer.U32(1);
        break;
    }
    m_writer.Utf16(str);
    m_writer.U16(0);
    return true;
}

bool CFieldWriter::Blob(std::vector<std::uint8_t>& bytes)
{
    m_writer.U32(static_cast<std::uint32_t>(bytes.size()));
    m_writer.Bytes(bytes);
    return true;
}

bool CFieldWriter::RecordNameLength(std::uint32_t& n, const std::u16string& str, RapiVersion version)
{
    n = static_cast<std::uint32_t>(version == RapiVersion::V1 ? str.size() : 2 * str.size());
    return U32(n);
}

bool CFieldWriter::RecordName(std::uint32_t, std::u16string& str, RapiVersion)
{
    m_writer.Utf16(str);
    return true;
}

bool CFieldWriter::FindData(std::vector<FindRecord>& records)
{
    if (records.empty())
        return Marker(0);
    m_writer.U32(FIND_DATA_BYTES);
    WriteFindData(m_writer, records.front());
    return true;
}

bool CFieldWriter::ReplyString(std::u16string& str)
{
    m_writer.U32(static_cast<std::uint32_t>(str.size()));
    m_writer.Utf16(str);
    m_writer.U16(0);
    return true;
}

bool CFieldReader::Flag(bool& b)
{
    std::uint32_t n = 0;
    if (!U32(n))
        return false;
    b = n != 0;
    return true;
}

bool CFieldReader::Marker(std::uint32_t n)
{
    std::uint32_t nRead = 0;
    return U32(nRead) && nRead == n;
}

bool CFieldReader::TerminatedUnits(std::size_t nUnits, std::u16string& str)
{
    if (nUnits == 0 || nUnits > MAX_NAME_UNITS || !m_reader.Utf16(nUnits, str))
        return false;
    if (str.back() != u'\0')
        return false;
    str.pop_back();
    return !HasZeroUnit(str);
}

bool CFieldReader::TerminatedBytes(std::uint32_t cb, std::u16string& str)
{
    return cb % 2 == 0 && TerminatedUnits(cb / 2, str);
}

bool CFieldReader::Name(std::u16string& str, NameForm form)
{
    std::uint32_t nCount = 0;
    switch (form) {
    case NameForm::Counted:
        return Marker(1) && U32(nCount) && TerminatedUnits(nCount, str);
    case NameForm::Sized:
        return U32(nCount) && TerminatedBytes(nCount, str);
    case NameForm::OptionalSized:
        return Marker(1) && U32(nCount) && Marker(1) && TerminatedBytes(nCount, str);
    }
    return false;
}

bool CFieldReader::Blob(std::vector<std::uint8_t>& bytes)
{
    std::uint32_t cb = 0;
    return U32(cb) && m_reader.Bytes(cb, bytes);
}

bool CFieldReader::Count(std::uint32_t& n, std::size_t cbMinEach)
{
    if (!U32(n))
        return false;
    return cbMinEach == 0 ? n <= MAX_BARE_RECORDS : n <= m_reader.Remaining() / cbMinEach;
}

bool CFieldReader::RecordName(std::uint32_t nLength, std::u16string& str, RapiVersion version)
{
    if (version == RapiVersion::V2 && nLength % 2 != 0)
        return false;
    const std::uint32_t nUnits = version == RapiVersion::V1 ? nLength : nLength / 2;
    if (nUnits > MAX_NAME_UNITS || !m_reader.Utf16(nUnits, str))
        return false;
    // Whether a device counts the terminator is not known: both are taken.
    if (!str.empty() && str.back() == u'\0')
        str.pop_back();
    return str.size() < MAX_NAME_UNITS && !HasZeroUnit(str);
}

bool CFieldReader::FindData(std::vector<FindRecord>& records)
{
    std::uint32_t cb = 0;
    std::vector<std::uint8_t> bytes;
    if (!U32(cb))
        return false;
    records.clear();
    if (cb == 0)
        return true;
    // A shorter CE_FIND_DATA than the full one is taken when its name ends within it.
    if (cb < FIND_DATA_FIXED_BYTES + 2 || cb > FIND_DATA_BYTES || cb % 2 != 0 || !m_reader.Bytes(cb, bytes))
        return false;
    CByteReader data(bytes.data(), bytes.size());
    FindRecord record;
    std::u16string strField;
    data.U32(record.dwAttributes);
    data.U64(record.ftCreation);
    data.U64(record.ftLastAccess);
    data.U64(record.ftLastWrite);
    data.U32(record.nSizeHigh);
    data.U32(record.nSizeLow);
    data.U32(record.dwOid);
    data.Utf16(data.Remaining() / 2, strField);
    const std::size_t nEnd = strField.find(u'\0');
    if (data.Failed() || nEnd == std::u16string::npos)
        return false;
    record.strName = strField.substr(0, nEnd);
    records.push_back(std::move(record));
    return true;
}

bool CFieldReader::ReplyString(std::u16string& str)
{
    std::uint32_t nUnits = 0;
    if (!U32(nUnits) || nUnits >= MAX_NAME_UNITS || !m_reader.Utf16(nUnits, str) || HasZeroUnit(str))
        return false;
    // The device sends a terminator after the counted units; a reply without it is taken too.
    std::uint16_t nTerminator = 0;
    return m_reader.Remaining() != 2 || (m_reader.U16(nTerminator) && nTerminator == 0);
}

}   // namespace handheldwire

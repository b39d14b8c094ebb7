#include "tests/support/ContentFile.h"

#include <algorithm>

namespace {

template <size_t cchField> void FillField(char (&szField)[cchField], const std::string& strValue)
{
    std::copy_n(strValue.begin(), std::min(strValue.size(), cchField), szField);
}

}   // namespace

ContentHeader MakeContentHeader(const std::string& strTitle, const std::string& strTypeCode)
{
    ContentHeader header = {};
    FillField(header.szMagic, "KD");
    FillField(header.szTitle, strTitle);
    FillField(header.szTypeCode, strTypeCode);
    return header;
}

std::string ContentFileBytes(const ContentHeader& header, size_t cbLength)
{
    // The body is filler that no header field could mistake for zero.
    std::string strBytes(cbLength, '\xA5');
    std::copy_n(reinterpret_cast<const char*>(&header), std::min(cbLength, sizeof(header)), strBytes.begin());
    return strBytes;
}

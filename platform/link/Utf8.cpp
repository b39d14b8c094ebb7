#include "platform/link/Utf8.h"

namespace {
// The length of the sequence a lead byte starts, 0 for no lead byte.
int SequenceLength(unsigned char c)
{
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c < 0xE0)
        return 2;
    if (c >= 0xE0 && c < 0xF0)
        return 3;
    if (c >= 0xF0 && c < 0xF5)
        return 4;
    return 0;
}

void AppendCodePoint(char32_t n, std::u16string& str)
{
    if (n < 0x10000) {
        str += static_cast<char16_t>(n);
        return;
    }
    n -= 0x10000;
    str += static_cast<char16_t>(0xD800 + (n >> 10));
    str += static_cast<char16_t>(0xDC00 + (n & 0x3FF));
}
}   // namespace

bool Utf16FromUtf8(const std::string& str, std::u16string& strOut)
{
    static const char32_t MIN_OF_LENGTH[] = { 0, 0, 0x80, 0x800, 0x10000 };
    strOut.clear();
    for (std::size_t i = 0; i < str.size();) {
        const int nLength = SequenceLength(static_cast<unsigned char>(str[i]));
        if (nLength == 0 || i + nLength > str.size())
            return false;
        char32_t n =
            nLength == 1 ? static_cast<unsigned char>(str[i]) : static_cast<unsigned char>(str[i]) & (0x7F >> nLength);
        for (int k = 1; k < nLength; ++k) {
            const unsigned char c = static_cast<unsigned char>(str[i + k]);
            if ((c & 0xC0) != 0x80)
                return false;
            n = (n << 6) | (c & 0x3F);
        }
        if (n < MIN_OF_LENGTH[nLength] || n > 0x10FFFF || (n >= 0xD800 && n < 0xE000))
            return false;
        AppendCodePoint(n, strOut);
        i += nLength;
    }
    return true;
}

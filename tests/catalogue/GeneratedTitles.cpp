#include "tests/catalogue/GeneratedTitles.h"

#include "content/ContentHeader.h"

#include <windows.h>
#include <cctype>
#include <random>

namespace {

constexpr size_t TITLE_FIELD = sizeof(ContentHeader::szTitle);
constexpr int KINDS = 8;

// A small alphabet, so that titles often share prefixes or differ in case
// only. 0x80 and 0xFF are single-byte characters in both code pages whose
// code values lie below every double-byte character's, though their bytes
// are above many lead bytes.
constexpr char SINGLE_BYTES[] = "ABCabcXYZxyz 019.-\x80\xFF";

// Letters with a lower case in both Chinese code pages, and Chinese text.
constexpr wchar_t WIDE_ALPHABET[] = L"字庫安裝程式中文詞典"
                                    L"\u0391\u0392\u03a3\u03b1\u03b2\u03c3"   // Greek
                                    L"\u0410\u0411\u042f\u0430\u0431\u044f"   // Cyrillic
                                    L"\uff21\uff22\uff3a\uff41\uff42\uff5a"   // full-width Latin
                                    L"Aa";

class CTitleGenerator
{
public:
    explicit CTitleGenerator(unsigned nSeed) : m_random(nSeed) {}

    std::string Next()
    {
        std::string strTitle;
        switch (Below(KINDS)) {
        case 0:
            strTitle = SingleBytes();
            break;
        case 1:
            strTitle = BytePairs(0xA1, 0xF9, true);
            break;
        case 2:
            strTitle = BytePairs(0x81, 0xFE, false);
            break;
        case 3:
            strTitle = CodePageText();
            break;
        case 4:
            strTitle = OtherCase(Earlier());
            break;
        case 5:
            strTitle = Earlier();
            break;
        case 6:
            strTitle = BrokenPair(Earlier());
            break;
        default:
            strTitle = FullField(Earlier());
            break;
        }
        if (strTitle.empty())
            strTitle = SingleBytes();
        m_made.push_back(strTitle);
        return strTitle;
    }

private:
    unsigned Below(unsigned n) { return static_cast<unsigned>(m_random() % n); }
    BYTE Between(unsigned nFirst, unsigned nLast) { return static_cast<BYTE>(nFirst + Below(nLast - nFirst + 1)); }

    std::string Earlier()
    {
        return m_made.empty() ? SingleBytes() : m_made[Below(static_cast<unsigned>(m_made.size()))];
    }

    std::string SingleBytes()
    {
        std::string str(1 + Below(12), ' ');
        for (char& ch : str)
            ch = SINGLE_BYTES[Below(sizeof(SINGLE_BYTES) - 1)];
        return str;
    }

    // Lead and trail bytes as Big5 has them, or as GBK has them; read in
    // the other code page some of these pairs are broken.
    std::string BytePairs(unsigned nLeadFirst, unsigned nLeadLast, bool bBig5)
    {
        std::string str = Below(2) ? SingleBytes() : std::string();
        for (unsigned nPairs = 1 + Below(8); nPairs > 0; --nPairs) {
            str += static_cast<char>(Between(nLeadFirst, nLeadLast));
            if (bBig5)
                str += static_cast<char>(Below(2) ? Between(0x40, 0x7E) : Between(0xA1, 0xFE));
            else
                str += static_cast<char>(Below(2) ? Between(0x40, 0x7E) : Between(0x80, 0xFE));
        }
        return str;
    }

    // Text the running code page can hold, in one of three cases.
    std::string CodePageText()
    {
        std::wstring strWide(1 + Below(10), L' ');
        for (wchar_t& wch : strWide)
            wch = WIDE_ALPHABET[Below(sizeof(WIDE_ALPHABET) / sizeof(wchar_t) - 1)];
        const unsigned nCase = Below(3);
        if (nCase == 1)
            ::CharUpperBuffW(&strWide[0], static_cast<DWORD>(strWide.size()));
        else if (nCase == 2)
            ::CharLowerBuffW(&strWide[0], static_cast<DWORD>(strWide.size()));
        std::string str;
        for (wchar_t wch : strWide) {
            char ach[4];
            BOOL bDefaulted = FALSE;
            const int cb = ::WideCharToMultiByte(CP_ACP, 0, &wch, 1, ach, sizeof(ach), nullptr, &bDefaulted);
            if (cb > 0 && !bDefaulted)
                str.append(ach, cb);
        }
        return str;
    }

    // The same title with the case of its single-byte letters changed at
    // random; double-byte characters are stepped over whole.
    std::string OtherCase(std::string str)
    {
        for (size_t i = 0; i < str.size(); ++i) {
            if (::IsDBCSLeadByte(static_cast<BYTE>(str[i])))
                ++i;
            else if (Below(2) && std::isalpha(static_cast<unsigned char>(str[i])))
                str[i] = static_cast<char>(str[i] ^ 0x20);
        }
        return str;
    }

    // A lead byte followed by a byte no code page takes as its trail, or a
    // lead byte at the very end.
    std::string BrokenPair(std::string str)
    {
        const char chLead = static_cast<char>(Between(0x81, 0xFE));
        if (Below(2)) {
            str += chLead;
        } else {
            const char chNotTrail = static_cast<char>(Below(4) ? Between(0x20, 0x3F) : 0x7F);
            str.insert(Below(static_cast<unsigned>(str.size()) + 1), { chLead, chNotTrail });
        }
        return str;
    }

    // Repeated up to the field's 48 bytes and beyond; the header keeps the
    // first 48, which may end in half a double-byte character.
    std::string FullField(const std::string& str)
    {
        std::string strFull = str;
        while (strFull.size() < TITLE_FIELD)
            strFull += str;
        return strFull;
    }

    std::minstd_rand m_random;
    std::vector<std::string> m_made;
};

}   // namespace

std::vector<std::string> GenerateTitles(int nCount, unsigned nSeed)
{
    CTitleGenerator generator(nSeed);
    std::vector<std::string> titles;
    for (int i = 0; i < nCount; ++i)
        titles.push_back(generator.Next());
    return titles;
}

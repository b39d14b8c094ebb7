#include "ui/CellText.h"

#include <cstdio>
#include <cstring>

namespace {

// Copies a NUL-terminated field that may fill its whole width.
template <size_t N> void CopyField(const char (&szField)[N], char (&szText)[CELL_TEXT_SIZE])
{
    static_assert(N < CELL_TEXT_SIZE, "fields fit a cell");
    const size_t cch = strnlen(szField, N);
    std::memcpy(szText, szField, cch);
    szText[cch] = '\0';
}

}   // namespace

UINT SizeInKilobytes(UINT nSize)
{
    // Rounded in 64 bits: sizes in the last kilobyte below 4 GiB would
    // wrap to zero in 32.
    return static_cast<UINT>((static_cast<ULONGLONG>(nSize) + 1023) >> 10);
}

void FormatSizeText(UINT nSize, char (&szText)[CELL_TEXT_SIZE])
{
    // Groups of three digits, least significant first.
    UINT anGroups[4];
    int nGroups = 0;
    for (UINT nKB = SizeInKilobytes(nSize); nKB != 0; nKB /= 1000)
        anGroups[nGroups++] = nKB % 1000;

    szText[0] = '\0';
    int cch = 0;
    for (int i = nGroups - 1; i >= 0; --i) {
        const bool bFirst = i == nGroups - 1;
        const bool bLast = i == 0;
        const char* pszFormat = bFirst ? (bLast ? "%u KB" : "%u,") : (bLast ? "%03u KB" : "%03u,");
        cch += std::snprintf(szText + cch, sizeof(szText) - cch, pszFormat, anGroups[i]);
    }
}

void FormatCellText(const ContentEntry& entry, int nColumn, char (&szText)[CELL_TEXT_SIZE])
{
    switch (nColumn) {
    case 0:
        CopyField(entry.szTitle, szText);
        break;
    case 1:
        FormatSizeText(static_cast<UINT>(entry.nSize), szText);
        break;
    default:
        CopyField(entry.szFileName, szText);
        break;
    }
}

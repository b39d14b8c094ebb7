#include "ui/TotalsCells.h"

CString FormatCountCell(LPCSTR pszLabel, int nCount)
{
    CString str;
    str.Format("%s: %d", pszLabel, nCount);
    return str;
}

CString FormatSizeCell(LPCSTR pszLabel, ULONGLONG ullBytes)
{
    CString str;
    str.Format("%s: %llu KB", pszLabel, (ullBytes + 1023) / 1024);
    return str;
}

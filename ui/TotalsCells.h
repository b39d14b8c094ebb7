// The texts of the totals bar's cells.
#pragma once

#include "catalogue/TickedTotals.h"
#include "platform/framework/CString.h"

// "label: count" and "label: kilobytes KB", the byte total rounded up once.
CString FormatCountCell(LPCSTR pszLabel, int nCount);
CString FormatSizeCell(LPCSTR pszLabel, ULONGLONG ullBytes);

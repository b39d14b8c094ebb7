#include "platform/rapi/StandInMark.h"

#include <stdio.h>
#include <string.h>
#include <vector>

namespace {
struct Translation
{
    WORD wLanguage;
    WORD wCodePage;
};

BOOL HasOurProductName(const std::vector<BYTE>& info, const Translation& translation)
{
    char szQuery[64];
    snprintf(szQuery, sizeof(szQuery), "\\StringFileInfo\\%04x%04x\\ProductName", translation.wLanguage,
             translation.wCodePage);
    void* pValue = nullptr;
    UINT cch = 0;
    if (!VerQueryValueA(info.data(), szQuery, &pValue, &cch) || !pValue)
        return FALSE;
    return strcmp(static_cast<const char*>(pValue), STAND_IN_PRODUCT_NAME) == 0;
}
}   // namespace

BOOL IsOurStandIn(LPCSTR pszPath)
{
    DWORD dwIgnored = 0;
    DWORD cb = GetFileVersionInfoSizeA(pszPath, &dwIgnored);
    if (cb == 0)
        return FALSE;
    std::vector<BYTE> info(cb);
    if (!GetFileVersionInfoA(pszPath, 0, cb, info.data()))
        return FALSE;
    void* pTranslations = nullptr;
    UINT cbTranslations = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &pTranslations, &cbTranslations) || !pTranslations)
        return FALSE;
    const Translation* pEach = static_cast<const Translation*>(pTranslations);
    for (UINT i = 0; i < cbTranslations / sizeof(Translation); ++i) {
        if (HasOurProductName(info, pEach[i]))
            return TRUE;
    }
    return FALSE;
}

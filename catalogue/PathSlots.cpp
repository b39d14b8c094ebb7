#include "catalogue/PathSlots.h"

#include <cstring>

namespace {

LPCSTR SkipBlanks(LPCSTR psz)
{
    while (*psz == ' ' || *psz == '\t')
        ++psz;
    return psz;
}

// Windows and Wine quote a path with blanks: a piece that is wholly quoted
// (trailing blanks aside) stands for the text inside the quotes.
CString Unquoted(const CString& strPiece)
{
    CString strTrimmed = strPiece;
    strTrimmed.TrimRight();
    const int n = strTrimmed.GetLength();
    if (n >= 2 && strTrimmed[0] == '"' && strTrimmed[n - 1] == '"')
        return strTrimmed.Mid(1, n - 2);
    return strPiece;
}

}   // namespace

CString GetProgramFolder()
{
    char szModule[257] = {};
    ::GetModuleFileNameA(nullptr, szModule, sizeof(szModule) - 1);
    const char* pszLastBackslash = AfxFindLastChar(szModule, '\\');
    if (pszLastBackslash == nullptr)
        return CString();
    return CString(szModule, static_cast<int>(pszLastBackslash - szModule + 1));
}

void SplitPathSlots(LPCSTR pszCmdLine, CString (&strPaths)[PATH_SLOT_COUNT])
{
    for (CString& strPath : strPaths)
        strPath.Empty();

    LPCSTR psz = SkipBlanks(pszCmdLine ? pszCmdLine : "");
    if (*psz == '\0') {
        strPaths[0] = GetProgramFolder();
        return;
    }
    // Pieces after the third have no meaning and are ignored.
    for (int nSlot = 0; nSlot < PATH_SLOT_COUNT; ++nSlot) {
        LPCSTR pszComma = std::strchr(psz, ',');
        const int nLength = pszComma ? static_cast<int>(pszComma - psz) : static_cast<int>(std::strlen(psz));
        strPaths[nSlot] = Unquoted(CString(psz, nLength));
        if (pszComma == nullptr)
            return;
        psz = SkipBlanks(pszComma + 1);
        if (*psz == '\0')
            return;
    }
}

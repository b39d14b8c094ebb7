#include "shell/PathLevels.h"

namespace {

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

// Appends cb bytes to the output; false when they do not fit with the
// terminator.
bool Append(LPSTR pszOut, size_t cbOut, size_t& nOut, LPCSTR pch, size_t cb)
{
    if (nOut + cb >= cbOut)
        return false;
    for (size_t i = 0; i < cb; ++i)
        pszOut[nOut++] = pch[i];
    return true;
}

}   // namespace

BOOL CopyPathPrefix(LPCSTR pszPath, LPSTR pszOut, size_t cbOut, BOOL& bNetwork, int nLevels)
{
    if (cbOut == 0)
        return FALSE;
    pszOut[0] = '\0';
    if (pszPath[0] == '\\' && pszPath[1] == '\\')
        bNetwork = TRUE;
    int nRemaining = nLevels;
    size_t nOut = 0;
    bool bFits = true;
    LPCSTR psz = pszPath;
    while (bFits && nRemaining > 0 && *psz != '\0') {
        if (IsSeparator(*psz)) {
            // A run of separators is one boundary; in a network path a run
            // of two or more (the leading pair, a doubled one) is none.
            LPCSTR pszRun = psz;
            while (IsSeparator(*psz))
                ++psz;
            bFits = Append(pszOut, cbOut, nOut, pszRun, psz - pszRun);
            if (!(bNetwork && psz - pszRun >= 2))
                --nRemaining;
            continue;
        }
        // A double-byte character moves as one: its trail byte may look
        // like a backslash.
        const size_t cb = ::IsDBCSLeadByte(static_cast<BYTE>(*psz)) && psz[1] != '\0' ? 2 : 1;
        bFits = Append(pszOut, cbOut, nOut, psz, cb);
        psz += cb;
        if (*psz == '\0')
            --nRemaining;
    }
    if (!bFits) {
        // No shortened path: it would name another folder.
        pszOut[0] = '\0';
        return FALSE;
    }
    pszOut[nOut] = '\0';
    return nRemaining == 0;
}

int CountPathLevels(LPCSTR pszPath)
{
    char szPrefix[MAX_PATH];
    BOOL bNetwork = FALSE;
    int nLevels = 0;
    while (CopyPathPrefix(pszPath, szPrefix, sizeof(szPrefix), bNetwork, nLevels + 1))
        ++nLevels;
    return nLevels;
}

#include "shell/PathLevels.h"

namespace {

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

bool IsNetworkPath(LPCSTR pszPath)
{
    return pszPath[0] == '\\' && pszPath[1] == '\\';
}

// One step along a path: a run of separators, or one character (both bytes
// of a double-byte one, whose second byte may look like a backslash).
struct PathStep
{
    LPCSTR pszEnd;
    bool bSeparators;
};

PathStep StepAt(LPCSTR psz)
{
    if (IsSeparator(*psz)) {
        while (IsSeparator(*psz))
            ++psz;
        return { psz, true };
    }
    const size_t cb = ::IsDBCSLeadByte(static_cast<BYTE>(*psz)) && psz[1] != '\0' ? 2 : 1;
    return { psz + cb, false };
}

// Whether a step ends a component: a run of separators does, but in a
// network path a run of two or more (the leading pair, a doubled one) does
// not; the last character of a path that ends without a separator does.
bool EndsLevel(LPCSTR pszStart, const PathStep& step, bool bNetwork)
{
    if (step.bSeparators)
        return !(bNetwork && step.pszEnd - pszStart >= 2);
    return *step.pszEnd == '\0';
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
    if (IsNetworkPath(pszPath))
        bNetwork = TRUE;
    int nRemaining = nLevels;
    size_t nOut = 0;
    for (LPCSTR psz = pszPath; nRemaining > 0 && *psz != '\0';) {
        const PathStep step = StepAt(psz);
        if (!Append(pszOut, cbOut, nOut, psz, step.pszEnd - psz)) {
            // No shortened path: it would name another folder.
            pszOut[0] = '\0';
            return FALSE;
        }
        if (EndsLevel(psz, step, bNetwork != FALSE))
            --nRemaining;
        psz = step.pszEnd;
    }
    pszOut[nOut] = '\0';
    return nRemaining == 0;
}

int CountPathLevels(LPCSTR pszPath)
{
    const bool bNetwork = IsNetworkPath(pszPath);
    int nLevels = 0;
    for (LPCSTR psz = pszPath; *psz != '\0';) {
        const PathStep step = StepAt(psz);
        if (EndsLevel(psz, step, bNetwork))
            ++nLevels;
        psz = step.pszEnd;
    }
    return nLevels;
}

std::string ComparablePath(LPCSTR pszPath)
{
    std::string strPath;
    LPCSTR psz = pszPath;
    if (IsNetworkPath(pszPath)) {
        strPath = "\\\\";
        psz = StepAt(psz).pszEnd;
    }
    while (*psz != '\0') {
        const PathStep step = StepAt(psz);
        if (!step.bSeparators)
            strPath.append(psz, step.pszEnd);
        else if (*step.pszEnd != '\0')
            strPath += '\\';
        psz = step.pszEnd;
    }
    return strPath;
}

#include "platform/rapi/emulator/HandheldPath.h"

#include <windows.h>
#include <wchar.h>

namespace {
const wchar_t* const DEVICE_NAMES[] = { L"con", L"prn", L"aux", L"nul", L"clock$", L"conin$", L"conout$" };
const wchar_t* const NUMBERED_DEVICES[] = { L"com", L"lpt" };

// Device names are reserved with any extension: "nul.txt" is the device too.
bool IsDeviceName(const std::wstring& strName)
{
    std::wstring strBase = FoldCase(strName.substr(0, strName.find(L'.')));
    for (const wchar_t* pszDevice : DEVICE_NAMES)
        if (strBase == pszDevice)
            return true;
    for (const wchar_t* pszDevice : NUMBERED_DEVICES)
        if (strBase.size() == 4 && strBase.compare(0, 3, pszDevice) == 0 && strBase[3] >= L'0' && strBase[3] <= L'9')
            return true;
    return false;
}
}   // namespace

bool IsAcceptableName(const std::wstring& strName, bool bPattern)
{
    if (strName.empty() || strName.size() >= MAX_PATH)
        return false;
    // The host drops trailing dots and blanks, so "..." or "a. " would name
    // another entry than the one asked for.
    wchar_t chLast = strName[strName.size() - 1];
    if (chLast == L'.' || chLast == L' ')
        return false;
    for (wchar_t ch : strName) {
        if (ch < 0x20 || wcschr(L"\\/:\"<>|", ch))
            return false;
        if (!bPattern && (ch == L'*' || ch == L'?'))
            return false;
    }
    return !IsDeviceName(strName);
}

bool SplitHandheldPath(const std::wstring& strPath, bool bPattern, std::vector<std::wstring>& parts)
{
    parts.clear();
    if (strPath.empty() || strPath[0] != L'\\')
        return false;
    if (strPath.size() == 1)
        return true;
    size_t nStart = 1;
    for (;;) {
        size_t nEnd = strPath.find(L'\\', nStart);
        std::wstring strName = strPath.substr(nStart, nEnd == std::wstring::npos ? std::wstring::npos : nEnd - nStart);
        bool bLast = nEnd == std::wstring::npos;
        if (!IsAcceptableName(strName, bPattern && bLast))
            return false;
        parts.push_back(strName);
        if (bLast)
            return true;
        nStart = nEnd + 1;
    }
}

std::wstring FoldCase(const std::wstring& str)
{
    std::wstring strFolded(str);
    if (!strFolded.empty())
        CharLowerBuffW(&strFolded[0], static_cast<DWORD>(strFolded.size()));
    return strFolded;
}

std::wstring MakePathKey(const std::vector<std::wstring>& parts)
{
    std::wstring strKey;
    for (const std::wstring& strName : parts)
        strKey += L"\\" + FoldCase(strName);
    return strKey.empty() ? L"\\" : strKey;
}

// Greedy matching that backs up to the last star only: linear in practice,
// where plain recursion blows up on patterns full of stars.
bool MatchesPattern(const std::wstring& strName, const std::wstring& strPattern)
{
    std::wstring strN = FoldCase(strName);
    std::wstring strP = FoldCase(strPattern);
    size_t n = 0, p = 0, nStar = std::wstring::npos, nMark = 0;
    while (n < strN.size()) {
        if (p < strP.size() && (strP[p] == L'?' || strP[p] == strN[n])) {
            ++n;
            ++p;
        } else if (p < strP.size() && strP[p] == L'*') {
            nStar = p++;
            nMark = n;
        } else if (nStar != std::wstring::npos) {
            p = nStar + 1;
            n = ++nMark;
        } else
            return false;
    }
    while (p < strP.size() && strP[p] == L'*')
        ++p;
    return p == strP.size();
}

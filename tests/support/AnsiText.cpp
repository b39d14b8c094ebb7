#include "tests/support/AnsiText.h"

#include <gtest/gtest.h>

namespace {

std::wstring WideFromUtf8(const std::string& strUtf8)
{
    int cch = MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), static_cast<int>(strUtf8.size()), nullptr, 0);
    std::wstring str(cch, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), static_cast<int>(strUtf8.size()), &str[0], cch);
    return str;
}

std::string Utf8FromWide(const std::wstring& str)
{
    int cb = WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), nullptr, 0, nullptr, nullptr);
    std::string strUtf8(cb, '\0');
    WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), &strUtf8[0], cb, nullptr, nullptr);
    return strUtf8;
}

}   // namespace

std::string AnsiFromWide(const std::wstring& str)
{
    // No look-alike either: a best fit would pass for the character itself.
    const DWORD dwFlags = WC_NO_BEST_FIT_CHARS;
    BOOL bDefaulted = FALSE;
    const int cch = static_cast<int>(str.size());
    int cb = WideCharToMultiByte(CP_ACP, dwFlags, str.data(), cch, nullptr, 0, nullptr, &bDefaulted);
    std::string strAnsi(cb, '\0');
    WideCharToMultiByte(CP_ACP, dwFlags, str.data(), cch, &strAnsi[0], cb, nullptr, &bDefaulted);
    if (bDefaulted)
        ADD_FAILURE() << "\"" << Utf8FromWide(str) << "\" has characters that code page " << GetACP()
                      << " cannot hold; a comparison of it would hold for any text";
    return strAnsi;
}

std::string AnsiFromUtf8(const std::string& strUtf8)
{
    return AnsiFromWide(WideFromUtf8(strUtf8));
}

std::string InUsersSet(const char* pszTraditional, const char* pszSimplified)
{
    return AnsiFromUtf8(GetACP() == 936 ? pszSimplified : pszTraditional);
}

std::string WindowTextOf(HWND hWnd)
{
    // Asked of the window itself, as a control of another process keeps its
    // text to itself.
    wchar_t szText[1024] = {};
    ::SendMessageTimeoutW(hWnd, WM_GETTEXT, ARRAYSIZE(szText), reinterpret_cast<LPARAM>(szText), SMTO_NORMAL, 10000,
                          nullptr);
    return AnsiFromWide(szText);
}

#include "tests/support/AnsiText.h"

#include <windows.h>

namespace {

std::wstring WideFromUtf8(const std::string& strUtf8)
{
    int cch = MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), static_cast<int>(strUtf8.size()), nullptr, 0);
    std::wstring str(cch, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), static_cast<int>(strUtf8.size()), &str[0], cch);
    return str;
}

std::string AnsiFromWide(const std::wstring& str)
{
    int cb = WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), nullptr, 0, nullptr, nullptr);
    std::string strAnsi(cb, '\0');
    WideCharToMultiByte(CP_ACP, 0, str.data(), static_cast<int>(str.size()), &strAnsi[0], cb, nullptr, nullptr);
    return strAnsi;
}

}   // namespace

std::string AnsiFromUtf8(const std::string& strUtf8)
{
    return AnsiFromWide(WideFromUtf8(strUtf8));
}

std::string InUsersSet(const char* pszTraditional, const char* pszSimplified)
{
    return AnsiFromUtf8(GetACP() == 936 ? pszSimplified : pszTraditional);
}

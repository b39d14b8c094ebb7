#include "platform/rapi/Endpoint.h"

#include <stdlib.h>
#include <string.h>
#include <string>

namespace {
constexpr char ENDPOINT_VARIABLE[] = "TARNIX_RAPI_ENDPOINT";
constexpr char ENDPOINT_KEY[] = "Software\\Tarnix\\RemoteApi";
constexpr char ENDPOINT_VALUE[] = "Endpoint";

// Only plain decimal digits: no sign, no blanks, no hexadecimal.
BOOL ParseDecimal(const std::string& strText, size_t nMaxDigits, long nMax, long* pnValue)
{
    if (strText.empty() || strText.size() > nMaxDigits || strText.find_first_not_of("0123456789") != std::string::npos)
        return FALSE;
    *pnValue = strtol(strText.c_str(), nullptr, 10);
    return *pnValue <= nMax;
}

BOOL ReadEnvironmentEndpoint(std::string& strText)
{
    char szText[64];
    DWORD cch = GetEnvironmentVariableA(ENDPOINT_VARIABLE, szText, sizeof(szText));
    if (cch == 0)
        return FALSE;
    strText = cch < sizeof(szText) ? szText : "";
    return TRUE;
}

BOOL ReadRegistryEndpoint(std::string& strText)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ENDPOINT_KEY, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return FALSE;
    char szText[64] = {};
    DWORD cb = sizeof(szText) - 1;
    DWORD dwType = 0;
    LONG nResult = RegQueryValueExA(hKey, ENDPOINT_VALUE, nullptr, &dwType, reinterpret_cast<BYTE*>(szText), &cb);
    RegCloseKey(hKey);
    if (nResult == ERROR_FILE_NOT_FOUND)
        return FALSE;
    strText = nResult == ERROR_SUCCESS && dwType == REG_SZ ? szText : "";
    return TRUE;
}
}   // namespace

BOOL ParseIpv4(const char* pszText, in_addr* pAddr)
{
    const std::string strHost = pszText;
    BYTE parts[4];
    size_t nStart = 0;
    for (int i = 0; i < 4; ++i) {
        size_t nEnd = i < 3 ? strHost.find('.', nStart) : strHost.size();
        long nValue;
        if (nEnd == std::string::npos || !ParseDecimal(strHost.substr(nStart, nEnd - nStart), 3, 255, &nValue))
            return FALSE;
        parts[i] = static_cast<BYTE>(nValue);
        nStart = nEnd + 1;
    }
    memcpy(&pAddr->s_addr, parts, sizeof(parts));
    return TRUE;
}

BOOL ParsePort(const char* pszText, WORD* pnPort)
{
    long nPort;
    if (!ParseDecimal(pszText, 5, 65535, &nPort) || nPort == 0)
        return FALSE;
    *pnPort = static_cast<WORD>(nPort);
    return TRUE;
}

BOOL ParseEndpoint(const char* pszText, sockaddr_in* pAddr)
{
    const char* pszColon = strrchr(pszText, ':');
    if (!pszColon)
        return FALSE;
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    WORD nPort;
    if (!ParseIpv4(std::string(pszText, pszColon).c_str(), &addr.sin_addr) || !ParsePort(pszColon + 1, &nPort))
        return FALSE;
    addr.sin_port = htons(nPort);
    *pAddr = addr;
    return TRUE;
}

EndpointSetting ReadConfiguredEndpoint(sockaddr_in* pAddr)
{
    std::string strText;
    if (!ReadEnvironmentEndpoint(strText) && !ReadRegistryEndpoint(strText))
        return esNone;
    return ParseEndpoint(strText.c_str(), pAddr) ? esConfigured : esMalformed;
}

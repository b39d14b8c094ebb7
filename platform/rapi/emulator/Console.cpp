#include "platform/rapi/emulator/Console.h"

void WriteLine(DWORD nStdHandle, const std::string& strLine)
{
    DWORD cbWritten;
    std::string strText = strLine + "\n";
    WriteFile(GetStdHandle(nStdHandle), strText.data(), static_cast<DWORD>(strText.size()), &cbWritten, nullptr);
}

std::string ToAnsi(const std::wstring& str)
{
    char szText[512] = {};
    WideCharToMultiByte(CP_ACP, 0, str.c_str(), -1, szText, sizeof(szText) - 1, nullptr, nullptr);
    return szText;
}

DWORD AnnounceConnection()
{
    static LONG s_nLast = 0;
    const DWORD dwId = static_cast<DWORD>(InterlockedIncrement(&s_nLast));
    WriteLine(STD_OUTPUT_HANDLE, "connection " + std::to_string(dwId));
    return dwId;
}

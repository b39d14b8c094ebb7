#include "tests/platform/rapi/StandInSession.h"

#include "tests/support/BenchReport.h"

#include <algorithm>

std::vector<std::wstring> Listing::Names() const
{
    std::vector<std::wstring> names;
    for (const CE_FIND_DATA& record : records)
        names.push_back(record.cFileName);
    std::sort(names.begin(), names.end());
    return names;
}

DWORD Listing::AttributesOf(const std::wstring& strName) const
{
    for (const CE_FIND_DATA& record : records)
        if (strName == record.cFileName)
            return record.dwFileAttributes;
    return ~0u;
}

Listing ListFiles(const std::wstring& strPattern, DWORD dwFlags)
{
    Listing listing;
    DWORD nCount = 0;
    CE_FIND_DATA* pRecords = nullptr;
    listing.bOk = CeFindAllFiles(strPattern.c_str(), dwFlags, &nCount, &pRecords);
    if (pRecords)
        listing.records.assign(pRecords, pRecords + nCount);
    CeRapiFreeBuffer(pRecords);
    return listing;
}

bool WriteHandheldFile(const std::wstring& strPath, const std::string& strBytes)
{
    HANDLE hFile = CeCreateFile(strPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cbWritten = 0;
    CeWriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &cbWritten, nullptr);
    bool bClosed = CeCloseHandle(hFile) != FALSE;
    return bClosed && cbWritten == strBytes.size();
}

std::string ReadHostFile(const std::string& strPath)
{
    std::string strBytes;
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return strBytes;
    char buffer[65536];
    DWORD cbRead;
    while (ReadFile(hFile, buffer, sizeof(buffer), &cbRead, nullptr) && cbRead > 0)
        strBytes.append(buffer, cbRead);
    CloseHandle(hFile);
    return strBytes;
}

DWORD ElapsedSince(DWORD dwStart)
{
    return GetTickCount() - dwStart;
}

std::vector<char> BenchBlock()
{
    std::vector<char> block(BENCH_BLOCK);
    for (DWORD i = 0; i < BENCH_BLOCK; ++i)
        block[i] = static_cast<char>(i * 31 + 7);
    return block;
}

double TimeHandheldWrites(const std::vector<char>& block, DWORD cbTotal)
{
    HANDLE hFile = CeCreateFile(L"\\Temp\\bench.kda", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return -1;
    bool bWhole = true;
    const double dSeconds = SecondsTaken([&] {
        for (DWORD cbDone = 0; bWhole && cbDone < cbTotal; cbDone += BENCH_BLOCK) {
            DWORD cbWritten = 0;
            CeWriteFile(hFile, block.data(), BENCH_BLOCK, &cbWritten, nullptr);
            bWhole = cbWritten == BENCH_BLOCK;
        }
    });
    CeCloseHandle(hFile);
    return bWhole ? dSeconds : -1;
}

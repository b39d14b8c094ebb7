// Helpers for tests that call the stand-in library directly: a session
// ended with the test, and listings copied out of the library's buffer.
#pragma once

#include "tests/platform/rapi/EmulatorProcess.h"

#include "platform/rapi/rapi.h"

#include <string>
#include <vector>

// The stand-in library from the system directory; null when it is not there.
HMODULE StandInLibrary();

class CStandInSession
{
public:
    CStandInSession() { m_hrInit = CeRapiInitEx(&m_init); }
    ~CStandInSession()
    {
        if (SUCCEEDED(m_hrInit))
            CeRapiUninit();
    }
    CStandInSession(const CStandInSession&) = delete;
    CStandInSession& operator=(const CStandInSession&) = delete;

    HRESULT InitResult() const { return m_hrInit; }
    bool IsAnswered(DWORD dwTimeout) const
    {
        return WaitForSingleObject(m_init.heRapiInit, dwTimeout) == WAIT_OBJECT_0;
    }
    HRESULT HandheldResult() const { return m_init.hrRapiInit; }

private:
    RAPIINIT m_init = { sizeof(RAPIINIT), nullptr, S_OK };
    HRESULT m_hrInit;
};

struct Listing
{
    BOOL bOk = FALSE;
    std::vector<CE_FIND_DATA> records;

    std::vector<std::wstring> Names() const;
    // Attributes of the entry of that name, or ~0 when there is none.
    DWORD AttributesOf(const std::wstring& strName) const;
};

Listing ListFiles(const std::wstring& strPattern, DWORD dwFlags);

// Creates (or empties) a handheld file and writes the bytes in one call.
bool WriteHandheldFile(const std::wstring& strPath, const std::string& strBytes);
std::string ReadHostFile(const std::string& strPath);
DWORD ElapsedSince(DWORD dwStart);

// The benchmarks' writes: blocks of the size the installation engine
// writes, and the seconds it takes the stand-in library to write cbTotal
// bytes of them to \Temp\bench.kda on the handheld (negative on a failure).
constexpr DWORD BENCH_BLOCK = 65536;
std::vector<char> BenchBlock();
double TimeHandheldWrites(const std::vector<char>& block, DWORD cbTotal);

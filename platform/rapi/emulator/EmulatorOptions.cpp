#include "platform/rapi/emulator/EmulatorOptions.h"

#include "platform/rapi/Endpoint.h"

#include <errno.h>
#include <stdlib.h>

namespace {
// Walks "--name=value" and "--name value" arguments.
class COptionParser
{
public:
    COptionParser(int argc, wchar_t** argv) : m_argc(argc), m_argv(argv) {}

    bool Next()
    {
        if (++m_i >= m_argc)
            return false;
        std::wstring strArg = m_argv[m_i];
        size_t nEquals = strArg.find(L'=');
        m_strName = strArg.substr(0, nEquals);
        m_pszInline = nEquals == std::wstring::npos ? nullptr : m_argv[m_i] + nEquals + 1;
        return true;
    }
    const std::wstring& Name() const { return m_strName; }
    bool HasInline() const { return m_pszInline != nullptr; }
    const wchar_t* TakeValue() { return m_pszInline ? m_pszInline : (m_i + 1 < m_argc ? m_argv[++m_i] : nullptr); }
    bool TakeNumber(ULONGLONG nMax, ULONGLONG* pnValue)
    {
        const wchar_t* pszText = TakeValue();
        if (!pszText || *pszText < L'0' || *pszText > L'9')
            return false;
        wchar_t* pszEnd;
        errno = 0;
        ULONGLONG nValue = wcstoull(pszText, &pszEnd, 0);
        if (*pszEnd != L'\0' || errno == ERANGE || nValue > nMax)
            return false;
        *pnValue = nValue;
        return true;
    }

private:
    int m_argc;
    wchar_t** m_argv;
    int m_i = 0;
    std::wstring m_strName;
    const wchar_t* m_pszInline = nullptr;
};

bool ApplyRefusal(COptionParser& parser, EmulatorOptions& options)
{
    options.hrRefusal = E_FAIL;
    if (!parser.HasInline())
        return true;
    ULONGLONG nValue;
    if (!parser.TakeNumber(0xFFFFFFFF, &nValue) || !(nValue & 0x80000000))
        return false;
    options.hrRefusal = static_cast<HRESULT>(nValue);
    return true;
}

bool ApplyListingFault(COptionParser& parser, EmulatorOptions& options)
{
    static const struct
    {
        const wchar_t* pszName;
        ListingFault fault;
    } faults[] = {
        { L"unterminated", lfUnterminated },
        { L"overcount", lfOvercount },
        { L"cut", lfCut },
    };
    options.listingFault = lfInTurn;
    if (!parser.HasInline())
        return true;
    const std::wstring strValue = parser.TakeValue();
    for (const auto& f : faults) {
        if (strValue == f.pszName) {
            options.listingFault = f.fault;
            return true;
        }
    }
    return false;
}

bool ApplyDword(COptionParser& parser, ULONGLONG nMax, ULONGLONG nScale, DWORD* pdwValue)
{
    ULONGLONG nValue;
    if (!parser.TakeNumber(nMax, &nValue))
        return false;
    *pdwValue = static_cast<DWORD>(nValue * nScale);
    return true;
}

bool ApplyOption(COptionParser& parser, EmulatorOptions& options)
{
    const std::wstring& strName = parser.Name();
    if (strName == L"--root") {
        const wchar_t* pszRoot = parser.TakeValue();
        options.strRoot = pszRoot ? pszRoot : L"";
        return !options.strRoot.empty();
    }
    if (strName == L"--port") {
        DWORD dwPort = 0;
        if (!ApplyDword(parser, 65535, 1, &dwPort))
            return false;
        options.nPort = static_cast<WORD>(dwPort);
        return true;
    }
    if (strName == L"--no-handshake") {
        options.bNoHandshake = true;
        return !parser.HasInline();
    }
    if (strName == L"--refuse")
        return ApplyRefusal(parser, options);
    if (strName == L"--capacity")
        return parser.TakeNumber(UNLIMITED - 1, &options.nCapacity);
    if (strName == L"--drop-after")
        return parser.TakeNumber(UNLIMITED - 1, &options.nDropAfter);
    if (strName == L"--latency")
        return ApplyDword(parser, 600000, 1, &options.dwLatencyMs);
    if (strName == L"--hostile-listing")
        return ApplyListingFault(parser, options);
    if (strName == L"--throughput")
        return ApplyDword(parser, 4194304, 1024, &options.dwBytesPerSecond) && options.dwBytesPerSecond > 0;
    return false;
}
}   // namespace

bool ParseEmulatorOptions(int argc, wchar_t** argv, EmulatorOptions& options, std::wstring& strError)
{
    options = EmulatorOptions();
    options.nPort = DEFAULT_EMULATOR_PORT;
    COptionParser parser(argc, argv);
    while (parser.Next()) {
        if (!ApplyOption(parser, options)) {
            strError = L"unknown option or bad value: " + parser.Name();
            return false;
        }
    }
    if (options.strRoot.empty()) {
        strError = L"--root FOLDER is required";
        return false;
    }
    return true;
}

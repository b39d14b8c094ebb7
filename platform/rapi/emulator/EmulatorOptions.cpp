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
    // The value TakeValue would give, left in place.
    std::wstring PeekValue() const
    {
        const wchar_t* pszValue = m_pszInline ? m_pszInline : (m_i + 1 < m_argc ? m_argv[m_i + 1] : nullptr);
        return pszValue ? pszValue : L"";
    }
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

bool ApplyPort(COptionParser& parser, WORD* pnPort)
{
    DWORD dwPort = 0;
    if (!ApplyDword(parser, 65535, 1, &dwPort))
        return false;
    *pnPort = static_cast<WORD>(dwPort);
    return true;
}

bool ApplyMode(COptionParser& parser, EmulatorOptions& options)
{
    static const struct
    {
        const wchar_t* pszName;
        EmulatorMode mode;
    } modes[] = {
        { L"private", emPrivate },
        { L"usb", emUsb },
        { L"legacy", emLegacy },
        { L"frames", emFrames },
    };
    const wchar_t* pszValue = parser.TakeValue();
    for (const auto& m : modes) {
        if (pszValue && wcscmp(pszValue, m.pszName) == 0) {
            options.mode = m.mode;
            return true;
        }
    }
    return false;
}

bool ApplyOs(COptionParser& parser, EmulatorOptions& options)
{
    static const struct
    {
        const wchar_t* pszName;
        DWORD nMajor;
        DWORD nMinor;
    } versions[] = {
        { L"5.2", 5, 2 },
        { L"5.1", 5, 1 },
        { L"4.20", 4, 20 },
    };
    const wchar_t* pszValue = parser.TakeValue();
    for (const auto& v : versions) {
        if (pszValue && wcscmp(pszValue, v.pszName) == 0) {
            options.nOsMajor = v.nMajor;
            options.nOsMinor = v.nMinor;
            options.bOsSet = true;
            return true;
        }
    }
    return false;
}

bool ApplyRapiVersion(COptionParser& parser, EmulatorOptions& options)
{
    DWORD dwVersion = 0;
    if (!ApplyDword(parser, 2, 1, &dwVersion) || dwVersion == 0)
        return false;
    options.version = dwVersion == 1 ? handheldwire::RapiVersion::V1 : handheldwire::RapiVersion::V2;
    options.bVersionSet = true;
    return true;
}

bool ApplyAddress(COptionParser& parser, std::string& strAddress)
{
    const wchar_t* pszValue = parser.TakeValue();
    char szAddress[32] = {};
    if (!pszValue || !WideCharToMultiByte(CP_ACP, 0, pszValue, -1, szAddress, sizeof(szAddress), nullptr, nullptr))
        return false;
    strAddress = szAddress;
    return inet_addr(szAddress) != INADDR_NONE;
}

bool ApplyText(COptionParser& parser, size_t nMaxUnits, std::wstring& strText)
{
    const wchar_t* pszValue = parser.TakeValue();
    if (!pszValue)
        return false;
    strText = pszValue;
    return strText.size() <= nMaxUnits;
}

bool ApplyUnlock(COptionParser& parser, EmulatorOptions& options)
{
    options.bUnlockOnDevice = true;
    if (parser.PeekValue() != L"never")
        return ApplyDword(parser, 3600, 1000, &options.dwUnlockAfterMs);
    parser.TakeValue();
    options.dwUnlockAfterMs = NEVER_UNLOCKED;
    return true;
}

bool ApplySessionPort(COptionParser& parser, EmulatorOptions& options)
{
    options.bSessionPortSet = true;
    return ApplyPort(parser, &options.nSessionPort);
}

bool ApplySwitch(COptionParser& parser, bool* pbSwitch)
{
    *pbSwitch = true;
    return !parser.HasInline();
}

// Options about the handheld's own protocol.
bool ApplyHandheldOption(COptionParser& parser, EmulatorOptions& options, bool* pbKnown)
{
    const std::wstring& strName = parser.Name();
    *pbKnown = true;
    if (strName == L"--mode")
        return ApplyMode(parser, options);
    if (strName == L"--device-address")
        return ApplyAddress(parser, options.strDeviceAddress);
    if (strName == L"--pc-address")
        return ApplyAddress(parser, options.strPcAddress);
    if (strName == L"--trigger-port")
        return ApplyPort(parser, &options.nTriggerPort);
    if (strName == L"--control-port")
        return ApplyPort(parser, &options.nControlPort) && options.nControlPort != 0;
    if (strName == L"--session-port")
        return ApplySessionPort(parser, options);
    if (strName == L"--os")
        return ApplyOs(parser, options);
    if (strName == L"--rapi")
        return ApplyRapiVersion(parser, options);
    if (strName == L"--name")
        return ApplyText(parser, 31, options.strName) && !options.strName.empty();
    if (strName == L"--password")
        return ApplyText(parser, 64, options.strPassword) && !options.strPassword.empty();
    if (strName == L"--unlock-on-device")
        return ApplyUnlock(parser, options);
    if (strName == L"--cut-frames")
        return ApplySwitch(parser, &options.bCutFrames);
    *pbKnown = false;
    return false;
}

bool ApplyOption(COptionParser& parser, EmulatorOptions& options)
{
    bool bKnown;
    bool bApplied = ApplyHandheldOption(parser, options, &bKnown);
    if (bKnown)
        return bApplied;
    const std::wstring& strName = parser.Name();
    if (strName == L"--root") {
        const wchar_t* pszRoot = parser.TakeValue();
        options.strRoot = pszRoot ? pszRoot : L"";
        return !options.strRoot.empty();
    }
    if (strName == L"--port")
        return ApplyPort(parser, &options.nPort);
    if (strName == L"--no-handshake")
        return ApplySwitch(parser, &options.bNoHandshake);
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
// The defaults that hang on the mode: the ports of each side and the
// version a handheld of that kind speaks.
void CompleteForMode(EmulatorOptions& options)
{
    if (!options.bOsSet && options.mode == emLegacy) {
        options.nOsMajor = 4;
        options.nOsMinor = 20;
    }
    if (!options.bVersionSet)
        options.version = handheldwire::VersionForOs(options.nOsMajor, options.nOsMinor);
    if (options.nControlPort == 0)
        options.nControlPort = options.mode == emLegacy ? 5679 : 990;
    if (!options.bSessionPortSet)
        options.nSessionPort = options.mode == emUsb ? options.nControlPort : 990;
}

// Combinations that describe no handheld.
bool CheckCombination(const EmulatorOptions& options, std::wstring& strError)
{
    if (options.bUnlockOnDevice && !options.strPassword.empty())
        strError = L"--password and --unlock-on-device exclude each other";
    else if (options.bUnlockOnDevice && options.mode != emUsb)
        strError = L"--unlock-on-device needs --mode usb";
    else if (options.mode == emUsb && options.nSessionPort == 0)
        strError = L"--session-port of the PC cannot be 0";
    return strError.empty();
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
    CompleteForMode(options);
    return CheckCombination(options, strError);
}

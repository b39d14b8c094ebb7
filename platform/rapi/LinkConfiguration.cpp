#include "platform/rapi/LinkConfiguration.h"

#include "platform/rapi/Endpoint.h"
#include "platform/rapi/HandheldAdapter.h"

#include <string>

namespace {
enum SettingState
{
    ssAbsent,
    ssGiven,
    ssMalformed
};

SettingState ReadVariable(const char* pszName, std::string& strValue)
{
    char szValue[64];
    const DWORD cch = GetEnvironmentVariableA(pszName, szValue, sizeof(szValue));
    if (cch == 0)
        return ssAbsent;
    if (cch >= sizeof(szValue))
        return ssMalformed;
    strValue = szValue;
    return ssGiven;
}

SettingState ReadAddress(const char* pszName, std::string& strAddress)
{
    in_addr addr;
    const SettingState state = ReadVariable(pszName, strAddress);
    return state == ssGiven && !ParseIpv4(strAddress.c_str(), &addr) ? ssMalformed : state;
}

BOOL ReadPort(const char* pszName, std::uint16_t& nPort)
{
    std::string strPort;
    WORD nGiven;
    switch (ReadVariable(pszName, strPort)) {
    case ssAbsent:
        return TRUE;
    case ssGiven:
        if (!ParsePort(strPort.c_str(), &nGiven))
            return FALSE;
        nPort = nGiven;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL ReadAddresses(handheldlink::LinkSettings& settings)
{
    HandheldAddresses given;
    const SettingState pc = ReadAddress("TARNIX_RAPI_PC_ADDRESS", given.strPc);
    const SettingState device = ReadAddress("TARNIX_RAPI_DEVICE_ADDRESS", given.strDevice);
    if (pc == ssAbsent && device == ssAbsent) {
        HandheldAddresses found;
        if (!ChooseHandheldAddresses(ListAdapters(), found))
            return FALSE;
        given = found;
    } else if (pc != ssGiven || device != ssGiven) {
        return FALSE;
    }
    settings.strPcAddress = given.strPc;
    settings.strDeviceAddress = given.strDevice;
    return TRUE;
}
}   // namespace

BOOL ReadLinkConfiguration(handheldlink::LinkSettings* pSettings)
{
    handheldlink::LinkSettings settings;
    std::uint16_t nUsbPort = settings.nControlPort;
    if (!ReadPort("TARNIX_RAPI_TRIGGER_PORT", settings.nTriggerPort) || !ReadPort("TARNIX_RAPI_USB_PORT", nUsbPort)
        || !ReadAddresses(settings))
        return FALSE;
    // A USB handheld makes its sessions' connections to its control port.
    settings.nControlPort = nUsbPort;
    settings.nSessionPort = nUsbPort;
    *pSettings = settings;
    return TRUE;
}

#include "platform/rapi/HandheldAdapter.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <string.h>
#include <wctype.h>

namespace {
constexpr char LINK_NETWORK[] = "169.254.2.";
constexpr char AUTOMATIC_NETWORK[] = "169.254.";
constexpr char USUAL_DEVICE_ADDRESS[] = "169.254.2.1";
// How the system names the adapter a handheld's USB networking makes.
constexpr wchar_t LINK_DRIVER_NAME[] = L"remote ndis";

bool StartsWith(const std::string& str, const char* pszPrefix)
{
    return str.compare(0, strlen(pszPrefix), pszPrefix) == 0;
}

bool IsLinkDriver(const std::wstring& strDescription)
{
    std::wstring strLower = strDescription;
    for (wchar_t& ch : strLower)
        ch = static_cast<wchar_t>(towlower(ch));
    return strLower.find(LINK_DRIVER_NAME) != std::wstring::npos;
}

// The link's DHCP gave the PC an address beside the handheld's.
bool FindLinkAddress(const std::vector<AdapterInfo>& adapters, HandheldAddresses& addresses)
{
    for (const AdapterInfo& adapter : adapters) {
        for (const std::string& strAddress : adapter.addresses) {
            if (adapter.bUp && StartsWith(strAddress, LINK_NETWORK) && strAddress != USUAL_DEVICE_ADDRESS) {
                addresses = { strAddress, USUAL_DEVICE_ADDRESS };
                return true;
            }
        }
    }
    return false;
}

bool FindAutomaticAddress(const std::vector<AdapterInfo>& adapters, HandheldAddresses& addresses)
{
    for (const AdapterInfo& adapter : adapters) {
        if (!adapter.bUp || !IsLinkDriver(adapter.strDescription))
            continue;
        for (const std::string& strAddress : adapter.addresses) {
            if (StartsWith(strAddress, AUTOMATIC_NETWORK)) {
                addresses = { strAddress, USUAL_DEVICE_ADDRESS };
                return true;
            }
        }
    }
    return false;
}

std::string DottedAddress(const SOCKADDR* pAddr)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(&reinterpret_cast<const sockaddr_in*>(pAddr)->sin_addr);
    return std::to_string(p[0]) + "." + std::to_string(p[1]) + "." + std::to_string(p[2]) + "." + std::to_string(p[3]);
}

AdapterInfo InfoOf(const IP_ADAPTER_ADDRESSES& adapter)
{
    AdapterInfo info;
    info.strDescription = adapter.Description ? adapter.Description : L"";
    info.bUp = adapter.OperStatus == IfOperStatusUp;
    for (const IP_ADAPTER_UNICAST_ADDRESS* p = adapter.FirstUnicastAddress; p; p = p->Next) {
        if (p->Address.lpSockaddr && p->Address.lpSockaddr->sa_family == AF_INET)
            info.addresses.push_back(DottedAddress(p->Address.lpSockaddr));
    }
    return info;
}
}   // namespace

bool ChooseHandheldAddresses(const std::vector<AdapterInfo>& adapters, HandheldAddresses& addresses)
{
    return FindLinkAddress(adapters, addresses) || FindAutomaticAddress(adapters, addresses);
}

// The list can grow between the call that sizes it and the one that fills it.
std::vector<AdapterInfo> ListAdapters()
{
    constexpr ULONG FLAGS = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    std::vector<AdapterInfo> adapters;
    ULONG cb = 16 * 1024;
    std::vector<BYTE> buffer;
    ULONG nResult = ERROR_BUFFER_OVERFLOW;
    for (int nTry = 0; nTry < 3 && nResult == ERROR_BUFFER_OVERFLOW; ++nTry) {
        buffer.resize(cb);
        nResult =
            GetAdaptersAddresses(AF_INET, FLAGS, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &cb);
    }
    if (nResult != ERROR_SUCCESS)
        return adapters;
    for (const IP_ADAPTER_ADDRESSES* p = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); p; p = p->Next)
        adapters.push_back(InfoOf(*p));
    return adapters;
}

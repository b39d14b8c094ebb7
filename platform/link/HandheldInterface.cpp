#include "platform/link/HandheldInterface.h"

#include <algorithm>
#include <filesystem>
#include <ifaddrs.h>
#include <arpa/inet.h>
#include <netinet/in.h>

namespace {
namespace fs = std::filesystem;

// The drivers a handheld's USB networking comes up with.
const char* const HANDHELD_DRIVERS[] = { "rndis_host", "cdc_ether" };
// What the PC takes when the link's DHCP gave it nothing.
const char* const FALLBACK_PC_ADDRESS = "169.254.2.2/24";

bool IsHandheldDriver(const fs::path& driverLink)
{
    std::error_code error;
    const fs::path target = fs::read_symlink(driverLink, error);
    if (error)
        return false;
    const std::string strDriver = target.filename().string();
    return std::any_of(std::begin(HANDHELD_DRIVERS), std::end(HANDHELD_DRIVERS),
                       [&strDriver](const char* psz) { return strDriver == psz; });
}

bool IsLinkLocal(const std::string& strAddress)
{
    return strAddress.compare(0, 8, "169.254.") == 0;
}

std::string NetworkHost(const std::string& strAddress, int nHost)
{
    return strAddress.substr(0, strAddress.rfind('.') + 1) + std::to_string(nHost);
}
}   // namespace

std::vector<std::string> FindHandheldInterfaces(const std::string& strSysfsRoot)
{
    std::vector<std::string> interfaces;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(strSysfsRoot) / "class" / "net", error)) {
        if (IsHandheldDriver(entry.path() / "device" / "driver"))
            interfaces.push_back(entry.path().filename().string());
    }
    std::sort(interfaces.begin(), interfaces.end());
    return interfaces;
}

std::map<std::string, std::string> InterfaceAddresses()
{
    std::map<std::string, std::string> addresses;
    ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) != 0)
        return addresses;
    for (const ifaddrs* p = pList; p; p = p->ifa_next) {
        if (!p->ifa_addr || p->ifa_addr->sa_family != AF_INET)
            continue;
        char szAddress[INET_ADDRSTRLEN];
        const in_addr& addr = reinterpret_cast<const sockaddr_in*>(p->ifa_addr)->sin_addr;
        if (inet_ntop(AF_INET, &addr, szAddress, sizeof(szAddress)))
            addresses.emplace(p->ifa_name, szAddress);
    }
    freeifaddrs(pList);
    return addresses;
}

LinkAddresses ChooseLinkAddresses(const std::vector<std::string>& interfaces,
                                  const std::map<std::string, std::string>& addresses)
{
    LinkAddresses link;
    if (interfaces.empty()) {
        link.strProblem = "no handheld link found: plug the handheld in, or give --pc-address and --device-address";
        return link;
    }
    std::string strForeign;
    for (const std::string& strInterface : interfaces) {
        const auto it = addresses.find(strInterface);
        if (it == addresses.end())
            continue;
        // The same drivers run USB network adapters and phones' tethering:
        // an interface on another network is not listened on, nor is its
        // router sent the trigger, unless the user names the addresses.
        if (!IsLinkLocal(it->second)) {
            if (strForeign.empty())
                strForeign = "interface " + strInterface + " has the address " + it->second
                             + ", not a handheld's (169.254.x.x): if it is one, give --pc-address and --device-address";
            continue;
        }
        link.strInterface = strInterface;
        link.strPcAddress = it->second;
        link.strDeviceAddress = NetworkHost(it->second, 1);
        return link;
    }
    if (!strForeign.empty()) {
        link.strProblem = strForeign;
        return link;
    }
    link.strInterface = interfaces.front();
    link.strProblem = "interface " + link.strInterface
                      + " has no address: let the network manager connect it, or run: sudo ip addr add "
                      + FALLBACK_PC_ADDRESS + " dev " + link.strInterface;
    return link;
}

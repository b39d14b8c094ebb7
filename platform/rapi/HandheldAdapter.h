// Where a handheld on the USB-networking link is: the PC's address on the
// adapter its driver made, and the handheld's across from it. The link's
// DHCP puts both in 169.254.2.0/24, the handheld at .1; an adapter of that
// driver that got no answer from it takes an automatic 169.254.x.y address,
// and the handheld is then at its usual 169.254.2.1 on the same link.
#pragma once

#include <string>
#include <vector>

struct AdapterInfo
{
    std::wstring strDescription;
    bool bUp = false;
    std::vector<std::string> addresses;   // IPv4, dotted
};

struct HandheldAddresses
{
    std::string strPc;
    std::string strDevice;
};

// False when no adapter that is up looks like the handheld's link.
bool ChooseHandheldAddresses(const std::vector<AdapterInfo>& adapters, HandheldAddresses& addresses);
// The system's adapters with their IPv4 addresses.
std::vector<AdapterInfo> ListAdapters();

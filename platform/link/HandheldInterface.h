// Finding the network interface a USB handheld's driver made, and where
// the PC and the handheld stand on it. The folder of the system's device
// tree is a parameter, so the search runs over made-up trees too.
#pragma once

#include <map>
#include <string>
#include <vector>

// Interfaces under ROOT/class/net whose device is bound to a USB
// networking driver, sorted by name.
std::vector<std::string> FindHandheldInterfaces(const std::string& strSysfsRoot);

// Each interface's IPv4 address, as the system has it now.
std::map<std::string, std::string> InterfaceAddresses();

struct LinkAddresses
{
    std::string strInterface;
    std::string strPcAddress, strDeviceAddress;
    std::string strProblem;   // one line when no usable link was found; the addresses are empty then
};

// The PC's address is the interface's own; the handheld, as the DHCP server
// of its link, stands at .1 of that network. An interface without an
// address is named with the one command that gives it the usual fallback.
LinkAddresses ChooseLinkAddresses(const std::vector<std::string>& interfaces,
                                  const std::map<std::string, std::string>& addresses);

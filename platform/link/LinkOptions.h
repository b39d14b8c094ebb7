// The command line of tarnix-link: which kind of handheld to wait for,
// where it and the PC meet (found on the USB link when not given), every
// port, and the loopback endpoint the stand-in library connects to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class LinkMode
{
    Usb,
    Legacy,
    Auto   // both kinds at once; the first to connect serves
};

struct LinkOptions
{
    LinkMode mode = LinkMode::Auto;
    std::string strDeviceAddress, strPcAddress;   // empty: from the USB link
    std::uint16_t nTriggerPort = 5679;
    std::uint16_t nUsbPort = 990;   // the USB handheld's control and session connections
    std::uint16_t nLegacyControlPort = 5679;
    std::uint16_t nLegacySessionPort = 990;
    std::string strServeAddress = "127.0.0.1";
    std::uint16_t nServePort = 47291;
};

// False, with the reason in strError, for an unknown option, a missing
// value, a port that is not 0 to 65535 or an address that is not IPv4.
bool ParseLinkOptions(const std::vector<std::string>& args, LinkOptions& options, std::string& strError);

extern const char* const LINK_USAGE;

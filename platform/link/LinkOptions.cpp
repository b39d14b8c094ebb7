#include "platform/link/LinkOptions.h"

#include <arpa/inet.h>
#include <functional>
#include <map>

const char* const LINK_USAGE =
    "usage: tarnix-link [--mode usb|legacy|auto] [--device-address A] [--pc-address A] [--trigger-port N] "
    "[--usb-port N] [--legacy-control-port N] [--legacy-session-port N] [--serve ADDRESS:PORT]";

namespace {
bool IsIpv4(const std::string& str)
{
    in_addr addr;
    return inet_pton(AF_INET, str.c_str(), &addr) == 1;
}

bool ParsePort(const std::string& str, std::uint16_t& nPort)
{
    if (str.empty() || str.size() > 5 || str.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long n = std::stoul(str);
    nPort = static_cast<std::uint16_t>(n);
    return n <= 65535;
}

bool ParseAddress(const std::string& str, std::string& strAddress)
{
    strAddress = str;
    return IsIpv4(str);
}

bool ParseMode(const std::string& str, LinkMode& mode)
{
    static const std::map<std::string, LinkMode> modes = { { "usb", LinkMode::Usb },
                                                           { "legacy", LinkMode::Legacy },
                                                           { "auto", LinkMode::Auto } };
    const auto it = modes.find(str);
    if (it == modes.end())
        return false;
    mode = it->second;
    return true;
}

// The stand-in is served on loopback only: the program may hold the right
// to bind low ports, and the handheld must not be reachable from a network.
bool ParseEndpoint(const std::string& str, LinkOptions& options)
{
    const std::size_t nColon = str.rfind(':');
    return nColon != std::string::npos && ParseAddress(str.substr(0, nColon), options.strServeAddress)
           && options.strServeAddress.compare(0, 4, "127.") == 0
           && ParsePort(str.substr(nColon + 1), options.nServePort);
}
}   // namespace

bool ParseLinkOptions(const std::vector<std::string>& args, LinkOptions& options, std::string& strError)
{
    using Setter = std::function<bool(const std::string&)>;
    const std::map<std::string, Setter> setters = {
        { "--mode", [&](const std::string& s) { return ParseMode(s, options.mode); } },
        { "--device-address", [&](const std::string& s) { return ParseAddress(s, options.strDeviceAddress); } },
        { "--pc-address", [&](const std::string& s) { return ParseAddress(s, options.strPcAddress); } },
        { "--trigger-port", [&](const std::string& s) { return ParsePort(s, options.nTriggerPort); } },
        { "--usb-port", [&](const std::string& s) { return ParsePort(s, options.nUsbPort); } },
        { "--legacy-control-port", [&](const std::string& s) { return ParsePort(s, options.nLegacyControlPort); } },
        { "--legacy-session-port", [&](const std::string& s) { return ParsePort(s, options.nLegacySessionPort); } },
        { "--serve", [&](const std::string& s) { return ParseEndpoint(s, options); } },
    };
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const auto it = setters.find(args[i]);
        if (it == setters.end()) {
            strError = "unknown option " + args[i];
            return false;
        }
        if (i + 1 == args.size() || !it->second(args[i + 1])) {
            strError = "option " + args[i] + " needs a valid value";
            return false;
        }
    }
    return true;
}

// Where the stand-in library finds a server of its loopback protocol:
// "address:port", an IPv4 address in dotted form. The environment variable
// TARNIX_RAPI_ENDPOINT wins over the registry value
// HKCU\Software\Tarnix\RemoteApi "Endpoint"; with neither set the library
// reaches the handheld through its own PC side.
#pragma once

#include <winsock2.h>
#include <windows.h>

// Where the emulator serves the loopback protocol unless told otherwise.
constexpr WORD DEFAULT_EMULATOR_PORT = 47291;

// FALSE for anything but four dotted decimal parts of 0 to 255.
BOOL ParseIpv4(const char* pszText, in_addr* pAddr);
// FALSE for anything but plain decimal digits of 1 to 65535.
BOOL ParsePort(const char* pszText, WORD* pnPort);
// FALSE for anything but "a.b.c.d:port" with a port of 1 to 65535.
BOOL ParseEndpoint(const char* pszText, sockaddr_in* pAddr);

enum EndpointSetting
{
    esNone,         // nothing configured
    esConfigured,   // *pAddr holds it
    esMalformed     // configured, but not an endpoint
};
EndpointSetting ReadConfiguredEndpoint(sockaddr_in* pAddr);

// Where the stand-in library finds the handheld: "address:port", an IPv4
// address in dotted form. The environment variable TARNIX_RAPI_ENDPOINT
// wins over the registry value HKCU\Software\Tarnix\RemoteApi "Endpoint";
// with neither set the loopback default is used.
#pragma once

#include <winsock2.h>
#include <windows.h>

constexpr WORD DEFAULT_EMULATOR_PORT = 47291;

// FALSE for anything but "a.b.c.d:port" with a port of 1 to 65535.
BOOL ParseEndpoint(const char* pszText, sockaddr_in* pAddr);
// FALSE when an endpoint is configured but malformed.
BOOL ReadConfiguredEndpoint(sockaddr_in* pAddr);

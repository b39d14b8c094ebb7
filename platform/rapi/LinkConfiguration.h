// The settings of the stand-in's own PC side: the addresses of the
// handheld's USB-networking adapter and the link's real ports (5679 for
// the trigger, 990 for the handheld's connections). The environment may
// name others, as the tests do with loopback addresses and ports of the
// system's choosing: TARNIX_RAPI_PC_ADDRESS and TARNIX_RAPI_DEVICE_ADDRESS
// (both, or neither), TARNIX_RAPI_TRIGGER_PORT, TARNIX_RAPI_USB_PORT.
#pragma once

#include "platform/handheldlink/LinkSettings.h"

#include <windows.h>

// FALSE when no handheld link is found, or a setting is malformed.
BOOL ReadLinkConfiguration(handheldlink::LinkSettings* pSettings);

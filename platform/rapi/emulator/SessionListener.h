// The handheld's own session port, where the PC opens a connection per
// session (legacy handhelds, and the frames mode): bound to the handheld's
// address, announced as the emulator's first line, each connection served
// on a thread of its own.
#pragma once

#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LinkFaults.h"
#include "platform/rapi/emulator/WireSession.h"

#include <functional>

// Runs until stopped; 1 when the port cannot be bound. onListening runs
// once the port is announced.
int AcceptSessions(const EmulatorOptions& options, const SessionSetup& setup, CHandheldStore& store,
                   CLinkFaults& faults, const std::function<void()>& onListening);

// A USB handheld (OS 5.x): waits on its UDP port for the PC's one-byte
// trigger, then connects to the PC's control port and runs the device side
// of the control connection there: the handshake with its info, keep-alive
// answers, the PC's passwords or the unlock on the device, and session
// requests, each of which opens a new connection to the PC's session
// port, sends the id and serves remote-API frames on it. When the control
// connection ends, the handheld waits for the next trigger.
#pragma once

#include "platform/handheldwire/UsbControl.h"
#include "platform/rapi/Socket.h"
#include "platform/rapi/emulator/LockedControlFilter.h"
#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LinkFaults.h"

class CUsbHandheld
{
public:
    CUsbHandheld(const EmulatorOptions& options, CHandheldStore& store, CLinkFaults& faults);

    // Runs until stopped; 1 when the trigger port cannot be bound.
    int Run();

private:
    bool WaitForTrigger(SOCKET trigger);
    void ServeControl();
    // FALSE when the connection must end.
    bool FeedControl(handheldwire::CUsbControlDevice& control, CLockedControlFilter& filter,
                     std::vector<std::uint8_t>& answers, DWORD& dwUnlockAt);
    void HandleEvents(handheldwire::CUsbControlDevice& control, const std::vector<handheldwire::ControlEvent>& events,
                      CLockedControlFilter& filter, DWORD& dwUnlockAt);
    DWORD WaitLimit(DWORD dwUnlockAt) const;
    void OpenSession(std::uint32_t dwSessionId);

    const EmulatorOptions& m_options;
    CHandheldStore& m_store;
    CLinkFaults& m_faults;
};

// A legacy handheld (OS 4.x): connects to the PC's control port (again and
// again, every half second, until it gets through, and anew whenever the
// connection ends), sends its password challenge when it has a password,
// then its info, answers the PC's passwords and echoes its pings. Sessions
// are the PC's connections to the handheld's own session port; with a
// password each one takes it first.
#pragma once

#include "platform/handheldwire/LegacyControl.h"
#include "platform/rapi/Socket.h"
#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LinkFaults.h"

class CLegacyHandheld
{
public:
    CLegacyHandheld(const EmulatorOptions& options, CHandheldStore& store, CLinkFaults& faults);

    // Runs until stopped; 1 when the session port cannot be bound.
    int Run();
    // The control connection, on a thread of its own.
    void Serve();

private:
    void ServeControl(SOCKET link);
    void HandleEvents(handheldwire::CLegacyControlDevice& control,
                      const std::vector<handheldwire::ControlEvent>& events);

    const EmulatorOptions& m_options;
    CHandheldStore& m_store;
    CLinkFaults& m_faults;
};

#include "platform/rapi/emulator/SessionListener.h"

#include "platform/rapi/emulator/Console.h"
#include "platform/rapi/emulator/DetachedThread.h"
#include "platform/rapi/emulator/HandheldSockets.h"

int AcceptSessions(const EmulatorOptions& options, const SessionSetup& setup, CHandheldStore& store,
                   CLinkFaults& faults, const std::function<void()>& onListening)
{
    CSocket listener = ListenTcp(options.strDeviceAddress, options.nSessionPort);
    if (!listener.IsValid()) {
        WriteLine(STD_ERROR_HANDLE,
                  "rapiemu: cannot listen on " + options.strDeviceAddress + ":" + std::to_string(options.nSessionPort));
        return 1;
    }
    WriteLine(STD_OUTPUT_HANDLE,
              "listening on " + options.strDeviceAddress + ":" + std::to_string(PortOf(listener.Get())));
    onListening();
    for (;;) {
        CSocket link(accept(listener.Get(), nullptr, nullptr));
        if (!link.IsValid() || !PrepareLink(link.Get()))
            continue;
        StartDetached(std::make_unique<CWireSession>(std::move(link), AnnounceConnection(), setup, store, faults));
    }
}

// The handheld emulator: serves a host folder as a handheld's file system,
// to the stand-in remote API library over its own loopback protocol, or to
// a PC side speaking the handheld's own protocol. Each connection runs on
// its own thread; the emulator runs until it is stopped.
#include "platform/rapi/emulator/Console.h"
#include "platform/rapi/emulator/DetachedThread.h"
#include "platform/rapi/emulator/EmulatorConnection.h"
#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/emulator/HandheldSockets.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LegacyHandheld.h"
#include "platform/rapi/emulator/LinkFaults.h"
#include "platform/rapi/emulator/SessionListener.h"
#include "platform/rapi/emulator/UsbHandheld.h"

#include <shellapi.h>

namespace {
constexpr char USAGE[] =
    "usage: rapiemu --root FOLDER [--mode private|usb|legacy|frames]\n"
    "  private (default): the stand-in library's protocol on 127.0.0.1\n"
    "               [--port N]                         47291; 0: the system chooses\n"
    "  usb, legacy, frames: the handheld's own protocol\n"
    "               [--device-address A] [--pc-address A]   127.0.0.2, 127.0.0.1\n"
    "               [--trigger-port N]                 usb: UDP, 5679; 0: the system chooses\n"
    "               [--control-port N]                 the PC's: usb 990, legacy 5679\n"
    "               [--session-port N]                 usb: the PC's (the control port);\n"
    "                                                  legacy, frames: the handheld's, 990; 0: the system chooses\n"
    "               [--os 5.2|5.1|4.20] [--rapi 1|2]   5.2 (legacy 4.20); the version follows the OS\n"
    "               [--name NAME] [--password PW] [--unlock-on-device SECONDS|never]\n"
    "  faults:      [--no-handshake] [--refuse[=HRESULT]] [--capacity BYTES] [--drop-after BYTES]\n"
    "               [--latency MS] [--throughput KBPS] [--hostile-listing[=unterminated|overcount|cut]]\n"
    "               [--cut-frames]\n";

int ServePrivate(const EmulatorOptions& options, CHandheldStore& store, CLinkFaults& faults)
{
    CSocket listener = ListenTcp("127.0.0.1", options.nPort);
    if (!listener.IsValid()) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: cannot listen on port " + std::to_string(options.nPort));
        return 1;
    }
    WriteLine(STD_OUTPUT_HANDLE, "listening on 127.0.0.1:" + std::to_string(PortOf(listener.Get())));
    for (;;) {
        CSocket link(accept(listener.Get(), nullptr, nullptr));
        if (!link.IsValid() || !PrepareLink(link.Get()))
            continue;
        StartDetached(std::make_unique<CEmulatorConnection>(std::move(link), AnnounceConnection(), store, faults));
    }
}

int ServeMode(const EmulatorOptions& options, CHandheldStore& store, CLinkFaults& faults)
{
    switch (options.mode) {
    case emUsb:
        return CUsbHandheld(options, store, faults).Run();
    case emLegacy:
        return CLegacyHandheld(options, store, faults).Run();
    case emFrames:
        return AcceptSessions(options, SessionSetup{ options.version, false, std::u16string(), 0 }, store, faults,
                              [] {});
    default:
        return ServePrivate(options, store, faults);
    }
}

int Run(const EmulatorOptions& options)
{
    CWinsock winsock;
    CHandheldStore store(options.strRoot, options.nCapacity);
    if (!store.Open()) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: cannot serve the folder " + ToAnsi(options.strRoot));
        return 1;
    }
    if (!winsock.IsReady()) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: no sockets");
        return 1;
    }
    CLinkFaults faults(options);
    return ServeMode(options, store, faults);
}
}   // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    EmulatorOptions options;
    std::wstring strError;
    bool bParsed = argv && ParseEmulatorOptions(argc, argv, options, strError);
    LocalFree(argv);
    if (!bParsed) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: " + ToAnsi(strError));
        WriteLine(STD_ERROR_HANDLE, USAGE);
        return 2;
    }
    return Run(options);
}

// Installing onto a USB handheld through tarnix-link: the stand-in
// library's writes, in the blocks the installation engine writes, to the
// emulator held to a real cable's 600 KB/s, against that cap; and the same
// writes through the link unheld, against the loopback path of the
// emulator's private protocol.
#include "tests/platform/rapi/StandInSession.h"

#include "tests/app/LinkProcess.h"
#include "tests/support/BenchReport.h"
#include "tests/support/TempFolder.h"

#include <cstdio>
#include <memory>

namespace {
constexpr DWORD TOTAL = 20u << 20;
constexpr DWORD CABLE_KBPS = 600;
const std::string DEVICE_ADDRESS = "127.0.0.2";

double TimeWrites(const std::string& strEndpoint)
{
    UseEndpoint(strEndpoint);
    CStandInSession session;
    if (!session.IsAnswered(20000) || FAILED(session.HandheldResult()))
        return -1;
    return TimeHandheldWrites(BenchBlock(), TOTAL);
}

double TimeThroughPrivateProtocol()
{
    CTempFolder root;
    CEmulatorProcess emulator(root.Path());
    return emulator.Port() ? TimeWrites(emulator.Endpoint()) : -1;
}

// The PC's port is held for the link while the emulator is told it.
double TimeThroughLink(const std::string& strEmulatorOptions)
{
    CTempFolder root;
    CSilentPort pcPort(true);
    const std::string strPcPort = std::to_string(pcPort.Port());
    CEmulatorProcess emulator(root.Path(), "--mode usb --trigger-port 0 --device-address " + DEVICE_ADDRESS
                                               + " --control-port " + strPcPort + " " + strEmulatorOptions);
    if (!emulator.Port())
        return -1;
    CLinkProcess link("--mode usb --device-address " + DEVICE_ADDRESS + " --pc-address 127.0.0.1 --usb-port "
                      + strPcPort + " --trigger-port " + std::to_string(emulator.Port()) + " --serve 127.0.0.1:0");
    return link.Endpoint().empty() ? -1 : TimeWrites(link.Endpoint());
}

double KiloBytesPerSecond(double dSeconds)
{
    return TOTAL / 1024.0 / dSeconds;
}
}   // namespace

int main()
{
    if (!StandInLibrary()) {
        std::printf("rapi.dll is not in the system directory\n");
        return 1;
    }
    const double dPrivate = TimeThroughPrivateProtocol();
    const double dLink = TimeThroughLink("");
    const double dCable = TimeThroughLink("--throughput " + std::to_string(CABLE_KBPS));
    if (dPrivate <= 0 || dLink <= 0 || dCable <= 0) {
        std::printf("a measurement failed (private %.3f s, link %.3f s, link at 600 KB/s %.3f s)\n", dPrivate, dLink,
                    dCable);
        return 1;
    }
    std::printf("private protocol, unheld:  %.0f KB/s (20 MiB in %.3f s)\n", KiloBytesPerSecond(dPrivate), dPrivate);
    std::printf("through tarnix-link:       %.0f KB/s (20 MiB in %.3f s)\n", KiloBytesPerSecond(dLink), dLink);
    std::printf("through tarnix-link, held: %.0f KB/s (20 MiB in %.3f s)\n", KiloBytesPerSecond(dCable), dCable);
    const bool bCable =
        ReportRatio("link at the cable's cap / cap", KiloBytesPerSecond(dCable) / CABLE_KBPS, RatioGoal::AtLeast, 0.97);
    const bool bLoopback = ReportRatio("link / private protocol", dPrivate / dLink, RatioGoal::AtLeast, 0.9);
    return bCable && bLoopback ? 0 : 1;
}

// tarnix-link: the PC's side of a handheld's own protocol on Linux, serving
// the stand-in library's loopback protocol so that the program reaches a
// real handheld as it reaches the emulator. Runs until interrupted.
#include "platform/handheldlink/BridgeServer.h"
#include "platform/handheldlink/LegacyLink.h"
#include "platform/handheldlink/UsbLink.h"
#include "platform/link/BindFailure.h"
#include "platform/link/EitherLink.h"
#include "platform/link/HandheldInterface.h"
#include "platform/link/LinkOptions.h"
#include "platform/link/TerminalPasswords.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <memory>
#include <unistd.h>

namespace {
using handheldlink::LinkSettings;

void ErrorLine(const std::string& str)
{
    std::fprintf(stderr, "%s\n", str.c_str());
}

std::string ProgramPath(const char* pszArgv0)
{
    char szPath[PATH_MAX];
    const ssize_t cb = readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    return cb > 0 ? std::string(szPath, static_cast<std::size_t>(cb)) : pszArgv0;
}

// Addresses not given are those of the USB link the handheld made.
bool ResolveAddresses(LinkOptions& options)
{
    if (!options.strPcAddress.empty() && !options.strDeviceAddress.empty())
        return true;
    const LinkAddresses link = ChooseLinkAddresses(FindHandheldInterfaces("/sys"), InterfaceAddresses());
    if (!link.strProblem.empty()) {
        ErrorLine("tarnix-link: " + link.strProblem);
        return false;
    }
    if (options.strPcAddress.empty())
        options.strPcAddress = link.strPcAddress;
    if (options.strDeviceAddress.empty())
        options.strDeviceAddress = link.strDeviceAddress;
    return true;
}

LinkSettings SettingsFor(const LinkOptions& options, std::uint16_t nControlPort, std::uint16_t nSessionPort)
{
    LinkSettings settings;
    settings.strDeviceAddress = options.strDeviceAddress;
    settings.strPcAddress = options.strPcAddress;
    settings.nTriggerPort = options.nTriggerPort;
    settings.nControlPort = nControlPort;
    settings.nSessionPort = nSessionPort;
    return settings;
}

template <class Link>
std::unique_ptr<Link> StartLink(const LinkSettings& settings, handheldlink::IPasswordSource& passwords,
                                const std::string& strProgram)
{
    auto pLink = std::make_unique<Link>(settings, passwords);
    int nError = 0;
    if (pLink->Start(nError))
        return pLink;
    ErrorLine(BindFailureLine(nError, settings.nControlPort, strProgram));
    return nullptr;
}

// Interrupt and terminate are taken by sigwait on the main thread: they are
// blocked before any other thread starts, so every thread inherits that.
sigset_t BlockStopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

// Serves until a stop signal comes; then the links stop first, so that a
// connection of the server still waiting for a session gives up at once
// and the server's end does not wait out the session's bound.
int Serve(handheldlink::IHandheldLink& link, const LinkOptions& options, const sigset_t& stopSignals,
          const std::function<void()>& stopLinks)
{
    handheldlink::CBridgeServer server(link, LinkSettings());
    int nError = 0;
    if (!server.Start(options.strServeAddress, options.nServePort, nError)) {
        ErrorLine(BindFailureLine(nError, options.nServePort, ProgramPath("tarnix-link")));
        return 1;
    }
    std::printf("listening on %s:%u\n", options.strServeAddress.c_str(), static_cast<unsigned>(server.Port()));
    std::fflush(stdout);
    int nSignal = 0;
    sigwait(&stopSignals, &nSignal);
    stopLinks();
    return 0;
}

// An installation's blocks of 64 KiB pass through buffers made and freed
// with every call. By default the C library hands such freed memory back
// to the system at once and takes it anew for the next block, a system
// call and a page fault per page, which more than doubled the time the
// link spends on a block; kept, it is used again.
void KeepFreedBlocks()
{
    constexpr int KEPT_BYTES = 8 << 20;
    // Blocks below this come from the heap, where they are kept; 512 KiB
    // is the most a 32-bit C library takes.
    constexpr int HEAP_BLOCK_BYTES = 512 << 10;
    mallopt(M_TRIM_THRESHOLD, KEPT_BYTES);
    mallopt(M_MMAP_THRESHOLD, HEAP_BLOCK_BYTES);
}
}   // namespace

int main(int argc, char** argv)
{
    KeepFreedBlocks();
    const sigset_t stopSignals = BlockStopSignals();
    LinkOptions options;
    std::string strError;
    if (!ParseLinkOptions(std::vector<std::string>(argv + 1, argv + argc), options, strError)) {
        ErrorLine("tarnix-link: " + strError);
        ErrorLine(LINK_USAGE);
        return 2;
    }
    if (!ResolveAddresses(options))
        return 1;
    CTerminalPasswords passwords(PromptTextsFor(std::getenv("LC_ALL"), std::getenv("LANG")));
    const std::string strProgram = ProgramPath(argv[0]);
    std::unique_ptr<handheldlink::CUsbLink> pUsb;
    std::unique_ptr<handheldlink::CLegacyLink> pLegacy;
    if (options.mode != LinkMode::Legacy) {
        pUsb = StartLink<handheldlink::CUsbLink>(SettingsFor(options, options.nUsbPort, options.nUsbPort), passwords,
                                                 strProgram);
        if (!pUsb)
            return 1;
    }
    if (options.mode != LinkMode::Usb) {
        pLegacy = StartLink<handheldlink::CLegacyLink>(
            SettingsFor(options, options.nLegacyControlPort, options.nLegacySessionPort), passwords, strProgram);
        if (!pLegacy)
            return 1;
    }
    const auto stopLinks = [&] {
        passwords.Cancel();
        if (pUsb)
            pUsb->Stop();
        if (pLegacy)
            pLegacy->Stop();
    };
    if (pUsb && pLegacy) {
        CEitherLink either(*pUsb, *pLegacy, LinkSettings().msSessionWait);
        return Serve(either, options, stopSignals, stopLinks);
    }
    return Serve(pUsb ? static_cast<handheldlink::IHandheldLink&>(*pUsb) : *pLegacy, options, stopSignals, stopLinks);
}

#include "platform/rapi/emulator/UsbHandheld.h"

#include "platform/rapi/emulator/Console.h"
#include "platform/rapi/emulator/DetachedThread.h"
#include "platform/rapi/emulator/HandheldIdentity.h"
#include "platform/rapi/emulator/HandheldSockets.h"
#include "platform/rapi/emulator/WireConversions.h"
#include "platform/rapi/emulator/WireSession.h"

namespace {
using handheldwire::ControlEvent;

constexpr std::uint8_t TRIGGER = 0x7F;
constexpr DWORD CONNECT_TIMEOUT_MS = 5000;
constexpr DWORD SEND_TIMEOUT_MS = 10000;
constexpr DWORD NO_UNLOCK_DUE = INFINITE;
}   // namespace

CUsbHandheld::CUsbHandheld(const EmulatorOptions& options, CHandheldStore& store, CLinkFaults& faults)
    : m_options(options), m_store(store), m_faults(faults)
{
}

int CUsbHandheld::Run()
{
    CSocket trigger = BindUdp(m_options.strDeviceAddress, m_options.nTriggerPort);
    if (!trigger.IsValid()) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: cannot bind the trigger port " + std::to_string(m_options.nTriggerPort));
        return 1;
    }
    WriteLine(STD_OUTPUT_HANDLE,
              "listening on " + m_options.strDeviceAddress + ":" + std::to_string(PortOf(trigger.Get())));
    for (;;) {
        if (WaitForTrigger(trigger.Get()))
            ServeControl();
    }
}

// Any other datagram is no trigger.
bool CUsbHandheld::WaitForTrigger(SOCKET trigger)
{
    char buffer[16];
    int cb = recvfrom(trigger, buffer, sizeof(buffer), 0, nullptr, nullptr);
    return cb == 1 && static_cast<std::uint8_t>(buffer[0]) == TRIGGER;
}

void CUsbHandheld::ServeControl()
{
    CSocket link =
        ConnectTcp(m_options.strDeviceAddress, m_options.strPcAddress, m_options.nControlPort, CONNECT_TIMEOUT_MS);
    if (!link.IsValid())
        return;
    if (!m_faults.AnswersHandshake())
        return StaySilent(link.Get());
    const handheldwire::DeviceInfo info = MakeDeviceInfo(m_options);
    handheldwire::CUsbControlDevice control(info);
    CLockedControlFilter filter(info.dwPasswordKey != handheldwire::PASSWORD_ON_DEVICE);
    DWORD dwUnlockAt = NO_UNLOCK_DUE;
    std::vector<std::uint8_t> out = control.Take();
    for (;;) {
        if (SendBytes(link.Get(), out, SEND_TIMEOUT_MS) != ioOk)
            return;
        out.clear();
        std::vector<std::uint8_t> received;
        IoStatus status = ReceiveSome(link.Get(), received, WaitLimit(dwUnlockAt));
        if (status == ioTimedOut) {
            control.ReportUnlock(0);
            out = control.Take();
            dwUnlockAt = NO_UNLOCK_DUE;
            continue;
        }
        if (status != ioOk)
            return;
        filter.Append(received.data(), received.size());
        if (!FeedControl(control, filter, out, dwUnlockAt))
            return;
    }
}

// Message by message while locked, so that an unlock lets what follows it
// through. The machine's answers join the filter's in the order of the
// messages they answer: a ping answered ahead of a password's verdict
// would be read as the verdict.
bool CUsbHandheld::FeedControl(handheldwire::CUsbControlDevice& control, CLockedControlFilter& filter,
                               std::vector<std::uint8_t>& answers, DWORD& dwUnlockAt)
{
    std::vector<std::uint8_t> bytes;
    while (filter.Next(bytes, answers)) {
        HandleEvents(control, control.Feed(bytes.data(), bytes.size()), filter, dwUnlockAt);
        const std::vector<std::uint8_t> queued = control.Take();
        answers.insert(answers.end(), queued.begin(), queued.end());
        if (control.IsConnected())
            filter.Unlock();
    }
    return !control.IsBroken();
}

void CUsbHandheld::HandleEvents(handheldwire::CUsbControlDevice& control, const std::vector<ControlEvent>& events,
                                CLockedControlFilter& filter, DWORD& dwUnlockAt)
{
    for (const ControlEvent& event : events) {
        if (event.kind == ControlEvent::HandshakeDone && !control.IsConnected())
            filter.Lock();
        else if (event.kind == ControlEvent::PasswordOffered)
            control.AnswerPassword(event.strPassword == Utf16Of(m_options.strPassword));
        else if (event.kind == ControlEvent::UnlockRequested && m_options.dwUnlockAfterMs != NEVER_UNLOCKED)
            dwUnlockAt = GetTickCount() + m_options.dwUnlockAfterMs;
        else if (event.kind == ControlEvent::SessionRequested && control.IsConnected())
            OpenSession(event.dwSessionId);
    }
}

// How long the next wait for the PC may take: until the user unlocks, if
// an unlock is due.
DWORD CUsbHandheld::WaitLimit(DWORD dwUnlockAt) const
{
    if (dwUnlockAt == NO_UNLOCK_DUE)
        return INFINITE;
    const LONG nLeft = static_cast<LONG>(dwUnlockAt - GetTickCount());
    return nLeft > 0 ? static_cast<DWORD>(nLeft) : 0;
}

void CUsbHandheld::OpenSession(std::uint32_t dwSessionId)
{
    CSocket link =
        ConnectTcp(m_options.strDeviceAddress, m_options.strPcAddress, m_options.nSessionPort, CONNECT_TIMEOUT_MS);
    const std::vector<std::uint8_t> id = { static_cast<std::uint8_t>(dwSessionId),
                                           static_cast<std::uint8_t>(dwSessionId >> 8),
                                           static_cast<std::uint8_t>(dwSessionId >> 16),
                                           static_cast<std::uint8_t>(dwSessionId >> 24) };
    if (!link.IsValid() || SendBytes(link.Get(), id, SEND_TIMEOUT_MS) != ioOk)
        return;
    const SessionSetup setup = { m_options.version, false, std::u16string(), PASSWORD_KEY };
    StartDetached(std::make_unique<CWireSession>(std::move(link), AnnounceConnection(), setup, m_store, m_faults));
}

#include "platform/rapi/emulator/LegacyHandheld.h"

#include "platform/rapi/emulator/DetachedThread.h"
#include "platform/rapi/emulator/HandheldIdentity.h"
#include "platform/rapi/emulator/HandheldSockets.h"
#include "platform/rapi/emulator/WireConversions.h"
#include "platform/rapi/emulator/SessionListener.h"

namespace {
using handheldwire::ControlEvent;

constexpr DWORD CONNECT_TIMEOUT_MS = 5000;
constexpr DWORD RECONNECT_PAUSE_MS = 500;
constexpr DWORD SEND_TIMEOUT_MS = 10000;

// The control thread holds no ownership: the handheld outlives it, as the
// program ends with the emulator's process.
struct ControlJob
{
    CLegacyHandheld* pHandheld;
    void Serve() { pHandheld->Serve(); }
};
}   // namespace

CLegacyHandheld::CLegacyHandheld(const EmulatorOptions& options, CHandheldStore& store, CLinkFaults& faults)
    : m_options(options), m_store(store), m_faults(faults)
{
}

int CLegacyHandheld::Run()
{
    const SessionSetup setup = { m_options.version, !m_options.strPassword.empty(), Utf16Of(m_options.strPassword),
                                 PASSWORD_KEY };
    return AcceptSessions(m_options, setup, m_store, m_faults,
                          [this] { StartDetached(std::make_unique<ControlJob>(ControlJob{ this })); });
}

void CLegacyHandheld::Serve()
{
    for (;;) {
        CSocket link =
            ConnectTcp(m_options.strDeviceAddress, m_options.strPcAddress, m_options.nControlPort, CONNECT_TIMEOUT_MS);
        if (link.IsValid())
            ServeControl(link.Get());
        Sleep(RECONNECT_PAUSE_MS);
    }
}

void CLegacyHandheld::ServeControl(SOCKET link)
{
    if (!m_faults.AnswersHandshake())
        return StaySilent(link);
    handheldwire::CLegacyControlDevice control(MakeDeviceInfo(m_options));
    std::vector<std::uint8_t> received;
    for (;;) {
        if (SendBytes(link, control.Take(), SEND_TIMEOUT_MS) != ioOk || ReceiveSome(link, received, INFINITE) != ioOk)
            return;
        HandleEvents(control, control.Feed(received.data(), received.size()));
        if (control.IsBroken())
            return;
    }
}

void CLegacyHandheld::HandleEvents(handheldwire::CLegacyControlDevice& control, const std::vector<ControlEvent>& events)
{
    for (const ControlEvent& event : events) {
        if (event.kind == ControlEvent::PasswordOffered)
            control.AnswerPassword(event.strPassword == Utf16Of(m_options.strPassword));
    }
}

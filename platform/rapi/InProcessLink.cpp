#include "platform/rapi/InProcessLink.h"

#include "platform/handheldlink/BridgeServer.h"
#include "platform/handheldlink/UsbLink.h"
#include "platform/rapi/DialogPasswords.h"

namespace {
constexpr char SERVER_ADDRESS[] = "127.0.0.1";

HMODULE PinThisLibrary()
{
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&PinThisLibrary), &hModule);
    return hModule;
}
}   // namespace

CInProcessLink::CInProcessLink() : m_hPinned(PinThisLibrary()), m_pPasswords(new CDialogPasswords(m_hPinned)) {}

CInProcessLink::~CInProcessLink()
{
    m_pPasswords->Cancel();
    if (m_pUsb)
        m_pUsb->Stop();
    m_pServer.reset();
    m_pUsb.reset();
    m_pPasswords.reset();
    if (m_hPinned)
        FreeLibrary(m_hPinned);
}

BOOL CInProcessLink::Start(const handheldlink::LinkSettings& settings)
{
    m_settings = settings;
    m_pUsb.reset(new handheldlink::CUsbLink(settings, *m_pPasswords));
    int nError = 0;
    if (!m_pUsb->Start(nError))
        return FALSE;
    m_pServer.reset(new handheldlink::CBridgeServer(*m_pUsb, settings));
    return m_pServer->Start(SERVER_ADDRESS, 0, nError);
}

bool CInProcessLink::Serves(const handheldlink::LinkSettings& settings) const
{
    return settings.strDeviceAddress == m_settings.strDeviceAddress && settings.strPcAddress == m_settings.strPcAddress
           && settings.nTriggerPort == m_settings.nTriggerPort && settings.nControlPort == m_settings.nControlPort
           && settings.nSessionPort == m_settings.nSessionPort;
}

sockaddr_in CInProcessLink::Endpoint() const
{
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(m_pServer ? m_pServer->Port() : 0);
    return addr;
}

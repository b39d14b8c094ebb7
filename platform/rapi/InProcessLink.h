// The stand-in's own PC side, for a system without a remote API library of
// its own and without a configured endpoint: the PC's end of a USB
// handheld's link, and a server of the loopback protocol on a port of the
// system's choosing, which the stand-in's sessions then connect to. While
// it runs it holds a reference on this library, so the library cannot be
// unloaded from under its threads; it is ended only when a session asks
// for other settings, never under the loader lock, where its threads could
// not be waited for. A locked handheld's password is asked for in the
// library's own dialog.
#pragma once

#include "platform/handheldlink/LinkSettings.h"

#include <winsock2.h>
#include <windows.h>
#include <memory>

namespace handheldlink {
class CBridgeServer;
class CUsbLink;
}   // namespace handheldlink
class CDialogPasswords;

class CInProcessLink
{
public:
    CInProcessLink();
    // Ends a question for a password and the handheld's link first, so
    // that a session still waiting for the handheld gives up at once, then
    // the server and its connections.
    ~CInProcessLink();
    CInProcessLink(const CInProcessLink&) = delete;
    CInProcessLink& operator=(const CInProcessLink&) = delete;

    // FALSE when the link's ports cannot be bound.
    BOOL Start(const handheldlink::LinkSettings& settings);
    // The link reaches the handheld these settings name.
    bool Serves(const handheldlink::LinkSettings& settings) const;
    // Where the server listens, once started.
    sockaddr_in Endpoint() const;

private:
    HMODULE m_hPinned = nullptr;
    handheldlink::LinkSettings m_settings;
    std::unique_ptr<CDialogPasswords> m_pPasswords;
    std::unique_ptr<handheldlink::CUsbLink> m_pUsb;
    std::unique_ptr<handheldlink::CBridgeServer> m_pServer;
};

// Listens for the stand-in library on the private endpoint and serves
// each connection on a thread of its own, through one handheld link.
#pragma once

#include "platform/handheldlink/HandheldLink.h"
#include "platform/handheldlink/LinkSettings.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <thread>

namespace handheldlink {

class CBridgeServer
{
public:
    CBridgeServer(IHandheldLink& link, const LinkSettings& settings);
    ~CBridgeServer();
    CBridgeServer(const CBridgeServer&) = delete;
    CBridgeServer& operator=(const CBridgeServer&) = delete;

    // Listens and starts serving; false when the endpoint cannot be bound
    // (nError: the system's error code).
    bool Start(const std::string& strAddress, std::uint16_t nPort, int& nError);
    std::uint16_t Port() const { return m_listener.LocalPort(); }
    // Ends the connections (each within its idle look) and waits for them.
    void Stop();

private:
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> pDone;
    };
    void AcceptLoop();
    void JoinFinished();

    IHandheldLink& m_link;
    const LinkSettings m_settings;
    CLinkSocket m_listener;
    std::atomic<bool> m_bStopping{ false };
    std::list<Worker> m_workers;   // the accepting thread's own
    std::thread m_acceptor;
};

}   // namespace handheldlink

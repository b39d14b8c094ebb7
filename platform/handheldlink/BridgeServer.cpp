#include "platform/handheldlink/BridgeServer.h"

#include "platform/handheldlink/BridgeConnection.h"

namespace handheldlink {
namespace {
constexpr std::uint32_t ACCEPT_LOOK_MS = 200;
}   // namespace

CBridgeServer::CBridgeServer(IHandheldLink& link, const LinkSettings& settings) : m_link(link), m_settings(settings) {}

CBridgeServer::~CBridgeServer()
{
    Stop();
}

bool CBridgeServer::Start(const std::string& strAddress, std::uint16_t nPort, int& nError)
{
    m_listener = CLinkSocket::Listen(strAddress, nPort, &nError);
    if (!m_listener.IsValid())
        return false;
    m_acceptor = std::thread([this] { AcceptLoop(); });
    return true;
}

void CBridgeServer::Stop()
{
    m_bStopping = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
}

void CBridgeServer::AcceptLoop()
{
    while (!m_bStopping) {
        CLinkSocket privateLink = m_listener.Accept(ACCEPT_LOOK_MS);
        JoinFinished();
        if (!privateLink.IsValid())
            continue;
        auto pDone = std::make_shared<std::atomic<bool>>(false);
        auto pConnection = std::make_shared<CBridgeConnection>(std::move(privateLink), m_link, m_settings, m_bStopping);
        m_workers.push_back({ std::thread([pConnection, pDone] {
                                  pConnection->Serve();
                                  *pDone = true;
                              }),
                              pDone });
    }
    for (Worker& worker : m_workers)
        worker.thread.join();
    m_workers.clear();
}

void CBridgeServer::JoinFinished()
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (*it->pDone) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

}   // namespace handheldlink

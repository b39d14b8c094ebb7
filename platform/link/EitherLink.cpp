#include "platform/link/EitherLink.h"

#include "platform/handheldlink/Deadline.h"

#include <thread>

namespace {
constexpr std::uint32_t LOOK_MS = 50;
}   // namespace

bool CEitherLink::OpenSession(handheldlink::CLinkSocket& session, handheldwire::RapiVersion& version,
                              std::uint64_t& nGeneration)
{
    const handheldlink::LinkClock::time_point deadline = handheldlink::DeadlineAfter(m_msSessionWait);
    SessionWanted();
    do {
        for (std::uint64_t nIndex = 0; nIndex < 2; ++nIndex) {
            if (!m_links[nIndex]->IsConnected())
                continue;
            if (!m_links[nIndex]->OpenSession(session, version, nGeneration))
                return false;
            nGeneration = nGeneration * 2 + nIndex;
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(LOOK_MS));
    } while (handheldlink::MillisecondsUntil(deadline) > 0);
    return false;
}

bool CEitherLink::IsAlive(std::uint64_t nGeneration) const
{
    return m_links[nGeneration % 2]->IsAlive(nGeneration / 2);
}

void CEitherLink::SessionWanted()
{
    m_links[0]->SessionWanted();
    m_links[1]->SessionWanted();
}

bool CEitherLink::IsConnected() const
{
    return m_links[0]->IsConnected() || m_links[1]->IsConnected();
}

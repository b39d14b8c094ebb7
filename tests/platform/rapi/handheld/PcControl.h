// The PC's end of a handheld's control connection, either kind: the wire
// library's PC-side machine fed from a test link, pumped until an event
// of the kind awaited arrives or the time is up.
#pragma once

#include "platform/handheldwire/ControlEvent.h"
#include "tests/platform/rapi/handheld/TestLink.h"

#include <algorithm>

template <class Machine> class CPcControl
{
public:
    explicit CPcControl(CTestLink link) : m_link(std::move(link)) {}

    Machine& Control() { return m_control; }
    const CTestLink& Link() const { return m_link; }

    // Sends what the machine has queued and takes what arrives until the
    // event comes; false on timeout, a closed link or a broken machine.
    bool WaitFor(handheldwire::ControlEvent::Kind kind, DWORD dwTimeout, handheldwire::ControlEvent* pEvent = nullptr)
    {
        const DWORD dwStart = GetTickCount();
        for (;;) {
            auto it = std::find_if(m_events.begin(), m_events.end(), [kind](const auto& e) { return e.kind == kind; });
            if (it != m_events.end()) {
                if (pEvent)
                    *pEvent = *it;
                m_events.erase(m_events.begin(), it + 1);
                return true;
            }
            const DWORD dwElapsed = GetTickCount() - dwStart;
            std::vector<std::uint8_t> received;
            if (!m_link.Send(m_control.Take()) || dwElapsed >= dwTimeout
                || !m_link.ReceiveSome(received, dwTimeout - dwElapsed))
                return false;
            const auto events = m_control.Feed(received.data(), received.size());
            m_events.insert(m_events.end(), events.begin(), events.end());
            if (m_control.IsBroken())
                return false;
        }
    }
    bool Flush() { return m_link.Send(m_control.Take()); }

private:
    CTestLink m_link;
    Machine m_control;
    std::vector<handheldwire::ControlEvent> m_events;
};

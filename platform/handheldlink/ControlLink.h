// The PC's end of a handheld's control connection, for either kind of
// handheld (Machine is the wire library's PC-side control machine): one
// thread takes the device's connection, runs the handshake, asks the
// password source when the device is locked, pings the device while it is
// connected and declares the link gone when an answer is late or the
// connection ends; then it waits for the device anew. A subclass says how
// the control connection comes and how a session is opened, and must call
// Stop() in its destructor, since the thread calls into it.
#pragma once

#include "platform/handheldlink/Deadline.h"
#include "platform/handheldlink/HandheldLink.h"
#include "platform/handheldlink/LinkSettings.h"
#include "platform/handheldlink/PasswordSource.h"
#include "platform/handheldwire/ControlEvent.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace handheldlink {

template <class Machine> class CControlLink : public IHandheldLink
{
public:
    CControlLink(const LinkSettings& settings, IPasswordSource& passwords);
    CControlLink(const CControlLink&) = delete;
    CControlLink& operator=(const CControlLink&) = delete;

    bool OpenSession(CLinkSocket& session, handheldwire::RapiVersion& version, std::uint64_t& nGeneration) override;
    bool IsAlive(std::uint64_t nGeneration) const override;
    bool IsConnected() const override;
    void SessionWanted() override;
    // Ends the thread; a session being opened fails.
    void Stop();

protected:
    void StartThread();
    // The device's control connection, or an invalid socket when none came within msWait.
    virtual CLinkSocket AwaitControl(std::uint32_t msWait) = 0;
    // The device is locked (bRetry: a password was refused): the default
    // asks the password source and offers its answer. A user who gives up
    // is asked again when a session is next asked for.
    virtual void AskToUnlock(bool bRetry);
    // Called with the link connected, one at a time.
    virtual bool ConnectSession(CLinkSocket& session, LinkClock::time_point deadline) = 0;
    // Sends what the machine queued; callers hold m_cs.
    bool SendQueuedLocked();
    // Stop() has begun: waits give up.
    bool IsStopping() const { return m_bStop; }

    const LinkSettings m_settings;
    IPasswordSource& m_passwords;
    mutable std::mutex m_cs;   // guards everything below
    Machine m_machine;
    CLinkSocket* m_pControl = nullptr;
    std::u16string m_strPassword;   // the one the device took

private:
    void Run();
    void ServeControl(CLinkSocket& control);
    // False when the machine broke on what came.
    bool Absorb(const std::uint8_t* p, std::size_t cb);
    void HandleEvent(const handheldwire::ControlEvent& event);
    bool IsMachineConnected() const;
    // True when the handheld has just become connected.
    bool MarkConnected();
    // False when the device is declared gone.
    bool KeepAlive();
    void MarkGone();
    // The question given up on, asked once more when a session wants it.
    void AskAgainIfWanted();

    std::condition_variable m_cvConnected;
    bool m_bConnected = false;
    std::uint64_t m_nGeneration = 1;
    std::atomic<bool> m_bStop{ false };
    std::mutex m_csSessions;                  // one session opened at a time
    std::atomic<bool> m_bGaveUp{ false };     // the user gave up on the password
    std::atomic<bool> m_bAskAgain{ false };   // a session waits for it all the same
    // Control thread only: the ping waiting for its answer.
    bool m_bPingOut = false;
    LinkClock::time_point m_nextPing, m_answerDue;
    std::thread m_thread;
};

}   // namespace handheldlink

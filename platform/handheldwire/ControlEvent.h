// What a control connection's state machine reports from the bytes fed to it.
#pragma once

#include <cstdint>
#include <string>

namespace handheldwire {

struct ControlEvent
{
    enum Kind
    {
        HandshakeDone,      // PC: the info was read (Info() holds it); device: the PC answered, the info went out
        PasswordOffered,    // device: strPassword arrived, AnswerPassword is due
        PasswordVerdict,    // PC: bAccepted; also a failed on-device unlock (bAccepted false)
        UnlockRequested,    // device: the PC asks for the unlock screen, ReportUnlock is due
        Unlocked,           // both: the on-device unlock went through
        SessionRequested,   // device: dwSessionId wanted on a new connection
        Ping,               // device: the PC pinged (the answer is already queued)
        PingAnswered        // PC: the device answered a ping
    };
    ControlEvent() = default;
    ControlEvent(Kind kindOf) : kind(kindOf) {}

    Kind kind = HandshakeDone;
    std::u16string strPassword;      // PasswordOffered (device side)
    bool bAccepted = false;          // PasswordVerdict (PC side)
    std::uint32_t dwSessionId = 0;   // SessionRequested (device side)
};

}   // namespace handheldwire

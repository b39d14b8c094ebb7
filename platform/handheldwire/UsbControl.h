// The control connection of a USB handheld (OS 5.x), as a state machine on
// each side. Feed hands in received bytes and returns what they meant;
// Take hands out the bytes to send. A protocol violation breaks the machine
// for good: the connection must be closed.
//   device: u32 0 -> PC: u32 3; device: u32 6 -> PC: u32 7, 8, 4, 5;
//   device: u32 4, u32 N, N bytes of info ending with the password key;
//   locked, key = XOR key: PC: u16 count + password -> device: u16 verdict;
//   locked, key = 0xFFFFFFFF: PC: u32 8 -> device: u32 result, on 0 PC: u32 0, u32 0x0C;
//   connected: PC: u32 5, 4, id -> the device connects back and sends id;
//              PC: u32 1 -> device: u32 2.
#pragma once

#include "platform/handheldwire/ControlMachine.h"
#include "platform/handheldwire/DeviceInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

constexpr std::uint32_t MAX_USB_INFO_BYTES = 4096;

// Device side: sends 0, 6, 4 + info; answers pings, takes passwords and
// session requests.
class CUsbControlDevice : public CControlMachine
{
public:
    explicit CUsbControlDevice(const DeviceInfo& info);

    // After PasswordOffered: the u16 verdict.
    void AnswerPassword(bool bAccepted);
    // After UnlockRequested: the user unlocked (0) on the device, or not.
    void ReportUnlock(std::uint32_t nResult);
    bool IsConnected() const { return m_state == State::Connected; }
    bool IsBroken() const override { return m_state == State::Broken; }

private:
    enum class State
    {
        AwaitInitialAnswer,
        AwaitOptionsAnswer,
        AwaitPassword,
        AwaitVerdictCall,
        AwaitUnlockRequest,
        AwaitUnlockCall,
        AwaitUnlockTail,
        Connected,
        Broken
    };
    bool TakeMessage(std::vector<ControlEvent>& events) override;
    bool TakeOptionsAnswer(std::vector<ControlEvent>& events);
    bool TakePassword(std::vector<ControlEvent>& events);
    bool TakeUnlockTail(std::vector<ControlEvent>& events);
    bool TakeCommand(std::vector<ControlEvent>& events);
    void SendInfo();
    State StateAfterHandshake() const;

    DeviceInfo m_info;
    State m_state = State::AwaitInitialAnswer;
};

// PC side: answers 0 and 6, reads the info, offers passwords, requests
// sessions, pings.
class CUsbControlPc : public CControlMachine
{
public:
    CUsbControlPc() = default;

    // After HandshakeDone.
    const DeviceInfo& Info() const { return m_info; }
    // When a password is due (XOR key in the info); ignored otherwise.
    void OfferPassword(const std::u16string& strPassword);
    // When the device unlocks on itself (key 0xFFFFFFFF); ignored otherwise.
    void RequestUnlock();
    // The id sent (1, 2, ...), or 0 when the device is not connected.
    std::uint32_t RequestSession();
    // When connected; ignored otherwise.
    void Ping();
    bool IsConnected() const { return m_state == State::Connected; }
    bool IsBroken() const override { return m_state == State::Broken; }

private:
    enum class State
    {
        Handshake,
        NeedPassword,
        AwaitVerdict,
        NeedUnlock,
        AwaitUnlock,
        Connected,
        Broken
    };
    bool TakeMessage(std::vector<ControlEvent>& events) override;
    bool TakeHandshake(std::vector<ControlEvent>& events);
    bool TakeInfo(std::vector<ControlEvent>& events);
    bool TakeVerdict(std::vector<ControlEvent>& events);
    bool TakeUnlockResult(std::vector<ControlEvent>& events);
    bool TakePingAnswer(std::vector<ControlEvent>& events);
    State StateForKey() const;
    void SendU32(std::uint32_t n);

    DeviceInfo m_info;
    State m_state = State::Handshake;
    std::uint32_t m_nLastSession = 0;
};

}   // namespace handheldwire

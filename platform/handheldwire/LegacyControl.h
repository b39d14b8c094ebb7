// The control connection of a legacy handheld (OS 4.x and earlier), which
// the device opens to the PC, as a state machine on each side with the
// shape of the USB ones. Every message of the device starts with a u32 H:
//   0: empty; 1 to 0x23: too short (a violation); 0x24 to 511: H bytes of
//   info follow; 512 and above: a password challenge, key = H & 0xFF, sent
//   before the info of a locked device; 0x12345678 (once connected): a ping's echo.
// Locked: PC: u16 count + password -> device: u16 verdict.
// Connected: PC: u32 0x12345678 -> device: the same u32.
// A session is a new connection from the PC, with its own password step
// when the device is locked: u16 count + password, answered by one byte.
#pragma once

#include "platform/handheldwire/ControlMachine.h"
#include "platform/handheldwire/DeviceInfo.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace handheldwire {

constexpr std::uint32_t LEGACY_MIN_INFO_BYTES = 0x24;
constexpr std::uint32_t LEGACY_MAX_INFO_BYTES = 511;
constexpr std::uint32_t LEGACY_CHALLENGE = 0x200;
constexpr std::uint32_t LEGACY_PING = 0x12345678;

// Device side: sends the challenge (when locked) and the info; takes
// passwords and echoes pings. Info whose blob does not fit in 511 bytes
// breaks it at once. dwPasswordKey: 0 none, else the XOR key in the low byte.
class CLegacyControlDevice : public CControlMachine
{
public:
    explicit CLegacyControlDevice(const DeviceInfo& info);

    // After PasswordOffered: the u16 verdict.
    void AnswerPassword(bool bAccepted);
    bool IsConnected() const { return m_state == State::Connected; }
    bool IsBroken() const override { return m_state == State::Broken; }

private:
    enum class State
    {
        AwaitPassword,
        AwaitVerdictCall,
        Connected,
        Broken
    };
    bool TakeMessage(std::vector<ControlEvent>& events) override;

    std::uint8_t m_nKey;
    State m_state;
};

// PC side: reads the challenge and the info, offers passwords, pings.
// Info().dwPasswordKey holds the challenge word (0 when none came), so a
// key whose low byte is 0 still reads as locked.
class CLegacyControlPc : public CControlMachine
{
public:
    CLegacyControlPc() = default;

    // After HandshakeDone.
    const DeviceInfo& Info() const { return m_info; }
    // When a password is due; ignored otherwise.
    void OfferPassword(const std::u16string& strPassword);
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
        Connected,
        Broken
    };
    bool TakeMessage(std::vector<ControlEvent>& events) override;
    // An empty message, the challenge, or the info that ends the handshake.
    bool TakeHeader(std::vector<ControlEvent>& events);
    bool TakeVerdict(std::vector<ControlEvent>& events);

    DeviceInfo m_info;
    std::uint32_t m_dwChallenge = 0;
    State m_state = State::Handshake;
};

// The device's answer to a session socket's password: one byte.
std::vector<std::uint8_t> EncodeSessionVerdict(bool bAccepted);

}   // namespace handheldwire

#include "platform/handheldwire/LegacyControl.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/Password.h"

namespace handheldwire {

namespace {
constexpr std::uint32_t EMPTY_MESSAGE = 0;
}   // namespace

void CLegacyControlPc::OfferPassword(const std::u16string& strPassword)
{
    if (m_state != State::NeedPassword)
        return;
    const std::vector<std::uint8_t> bytes = EncodePassword(strPassword, static_cast<std::uint8_t>(m_dwChallenge));
    m_out.insert(m_out.end(), bytes.begin(), bytes.end());
    m_state = State::AwaitVerdict;
}

void CLegacyControlPc::Ping()
{
    if (m_state == State::Connected)
        AppendU32(m_out, LEGACY_PING);
}

bool CLegacyControlPc::TakeMessage(std::vector<ControlEvent>& events)
{
    if (m_in.IsEmpty())
        return false;
    switch (m_state) {
    case State::Handshake:
        return TakeHeader(events);
    case State::AwaitVerdict:
        return TakeVerdict(events);
    case State::Connected:
        if (!m_in.Has(4))
            return false;
        if (m_in.U32At(0) == LEGACY_PING) {
            events.push_back({ ControlEvent::PingAnswered });
        } else if (m_in.U32At(0) != EMPTY_MESSAGE) {
            m_state = State::Broken;
            return false;
        }
        m_in.Drop(4);
        return true;
    case State::NeedPassword:
        // The device has nothing to say until the PC offers a password.
        m_state = State::Broken;
        break;
    case State::Broken:
        break;
    }
    return false;
}

// An empty message, the challenge, or the info that ends the handshake.
bool CLegacyControlPc::TakeHeader(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(4))
        return false;
    const std::uint32_t nHeader = m_in.U32At(0);
    if (nHeader == EMPTY_MESSAGE) {
        m_in.Drop(4);
        return true;
    }
    if (nHeader >= LEGACY_CHALLENGE && m_dwChallenge == 0) {
        m_dwChallenge = nHeader;
        m_in.Drop(4);
        return true;
    }
    if (nHeader < LEGACY_MIN_INFO_BYTES || nHeader > LEGACY_MAX_INFO_BYTES) {
        m_state = State::Broken;
        return false;
    }
    if (!m_in.Has(4 + std::size_t{ nHeader }))
        return false;
    if (!DecodeLegacyInfo(m_in.Front() + 4, nHeader, m_info)) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(4 + std::size_t{ nHeader });
    m_info.dwPasswordKey = m_dwChallenge;
    events.push_back({ ControlEvent::HandshakeDone });
    m_state = m_dwChallenge != 0 ? State::NeedPassword : State::Connected;
    return true;
}

bool CLegacyControlPc::TakeVerdict(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(2))
        return false;
    ControlEvent event{ ControlEvent::PasswordVerdict };
    event.bAccepted = m_in.U16At(0) != 0;
    m_in.Drop(2);
    events.push_back(event);
    m_state = event.bAccepted ? State::Connected : State::NeedPassword;
    return true;
}

}   // namespace handheldwire

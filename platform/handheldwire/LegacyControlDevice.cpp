#include "platform/handheldwire/LegacyControl.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/Password.h"

namespace handheldwire {

CLegacyControlDevice::CLegacyControlDevice(const DeviceInfo& info)
    : m_nKey(static_cast<std::uint8_t>(info.dwPasswordKey)),
      m_state(info.dwPasswordKey != PASSWORD_NONE ? State::AwaitPassword : State::Connected)
{
    const std::vector<std::uint8_t> blob = EncodeLegacyInfo(info);
    if (blob.size() < LEGACY_MIN_INFO_BYTES || blob.size() > LEGACY_MAX_INFO_BYTES) {
        m_state = State::Broken;
        return;
    }
    if (info.dwPasswordKey != PASSWORD_NONE)
        AppendU32(m_out, LEGACY_CHALLENGE | m_nKey);
    AppendU32(m_out, static_cast<std::uint32_t>(blob.size()));
    m_out.insert(m_out.end(), blob.begin(), blob.end());
}

void CLegacyControlDevice::AnswerPassword(bool bAccepted)
{
    if (m_state != State::AwaitVerdictCall)
        return;
    AppendU16(m_out, bAccepted ? 1 : 0);
    m_state = bAccepted ? State::Connected : State::AwaitPassword;
}

bool CLegacyControlDevice::TakeMessage(std::vector<ControlEvent>& events)
{
    if (m_state == State::AwaitPassword) {
        if (!m_in.Has(2) || !m_in.Has(2 + std::size_t{ m_in.U16At(0) }))
            return false;
        const std::size_t cb = m_in.U16At(0);
        ControlEvent event{ ControlEvent::PasswordOffered };
        if (!DecodePassword(m_in.Front() + 2, cb, m_nKey, event.strPassword)) {
            m_state = State::Broken;
            return false;
        }
        m_in.Drop(2 + cb);
        events.push_back(std::move(event));
        m_state = State::AwaitVerdictCall;
        return true;
    }
    if (m_state != State::Connected || !m_in.Has(4))
        return false;
    if (m_in.U32At(0) != LEGACY_PING) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(4);
    AppendU32(m_out, LEGACY_PING);
    events.push_back({ ControlEvent::Ping });
    return true;
}

std::vector<std::uint8_t> EncodeSessionVerdict(bool bAccepted)
{
    return { static_cast<std::uint8_t>(bAccepted ? 1 : 0) };
}

}   // namespace handheldwire

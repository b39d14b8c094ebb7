#include "platform/handheldwire/UsbControl.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/UsbMessages.h"

namespace handheldwire {

CUsbControlDevice::CUsbControlDevice(const DeviceInfo& info) : m_info(info)
{
    AppendU32(m_out, USB_MSG_INITIAL);
}

void CUsbControlDevice::AnswerPassword(bool bAccepted)
{
    if (m_state != State::AwaitVerdictCall)
        return;
    AppendU16(m_out, bAccepted ? 1 : 0);
    m_state = bAccepted ? State::Connected : State::AwaitPassword;
}

void CUsbControlDevice::ReportUnlock(std::uint32_t nResult)
{
    if (m_state != State::AwaitUnlockCall)
        return;
    AppendU32(m_out, nResult);
    m_state = nResult == 0 ? State::AwaitUnlockTail : State::AwaitUnlockRequest;
}

bool CUsbControlDevice::TakeMessage(std::vector<ControlEvent>& events)
{
    switch (m_state) {
    case State::AwaitInitialAnswer:
        if (!m_in.Has(4))
            return false;
        if (m_in.U32At(0) != USB_ANSWER_INITIAL) {
            m_state = State::Broken;
            return false;
        }
        m_in.Drop(4);
        AppendU32(m_out, USB_MSG_OPTIONS);
        m_state = State::AwaitOptionsAnswer;
        return true;
    case State::AwaitOptionsAnswer:
        return TakeOptionsAnswer(events);
    case State::AwaitPassword:
        return TakePassword(events);
    case State::AwaitUnlockTail:
        return TakeUnlockTail(events);
    case State::AwaitUnlockRequest:
    case State::Connected:
        return TakeCommand(events);
    case State::AwaitVerdictCall:
    case State::AwaitUnlockCall:
    case State::Broken:
        break;
    }
    return false;
}

bool CUsbControlDevice::TakeOptionsAnswer(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(16))
        return false;
    // Some PCs answer 7, 8, 4, 1 rather than 7, 8, 4, 5; both are taken.
    const std::uint32_t nLast = m_in.U32At(12);
    const bool bLastKnown = nLast == USB_ANSWER_OPTIONS[3] || nLast == USB_ANSWER_OPTIONS_OTHER_LAST;
    if (m_in.U32At(0) != USB_ANSWER_OPTIONS[0] || m_in.U32At(4) != USB_ANSWER_OPTIONS[1]
        || m_in.U32At(8) != USB_ANSWER_OPTIONS[2] || !bLastKnown) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(16);
    SendInfo();
    events.push_back({ ControlEvent::HandshakeDone });
    m_state = StateAfterHandshake();
    return true;
}

bool CUsbControlDevice::TakePassword(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(2))
        return false;
    const std::size_t cb = m_in.U16At(0);
    if (!m_in.Has(2 + cb))
        return false;
    ControlEvent event{ ControlEvent::PasswordOffered };
    if (!DecodePassword(m_in.Front() + 2, cb, static_cast<std::uint8_t>(m_info.dwPasswordKey), event.strPassword)) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(2 + cb);
    events.push_back(std::move(event));
    m_state = State::AwaitVerdictCall;
    return true;
}

bool CUsbControlDevice::TakeUnlockTail(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(8))
        return false;
    if (m_in.U32At(0) != USB_UNLOCK_TAIL[0] || m_in.U32At(4) != USB_UNLOCK_TAIL[1]) {
        m_state = State::Broken;
        return false;
    }
    m_in.Drop(8);
    events.push_back({ ControlEvent::Unlocked });
    m_state = State::Connected;
    return true;
}

// A ping, the unlock request while locked, or a session request once connected.
bool CUsbControlDevice::TakeCommand(std::vector<ControlEvent>& events)
{
    if (!m_in.Has(4))
        return false;
    const std::uint32_t nCommand = m_in.U32At(0);
    if (nCommand == USB_MSG_PING) {
        m_in.Drop(4);
        AppendU32(m_out, USB_ANSWER_PING);
        events.push_back({ ControlEvent::Ping });
        return true;
    }
    if (nCommand == USB_MSG_SHOW_UNLOCK && m_state == State::AwaitUnlockRequest) {
        m_in.Drop(4);
        events.push_back({ ControlEvent::UnlockRequested });
        m_state = State::AwaitUnlockCall;
        return true;
    }
    if (nCommand != USB_MSG_SESSION || m_state != State::Connected) {
        m_state = State::Broken;
        return false;
    }
    if (!m_in.Has(12))
        return false;
    if (m_in.U32At(4) != USB_SESSION_KIND) {
        m_state = State::Broken;
        return false;
    }
    ControlEvent event{ ControlEvent::SessionRequested };
    event.dwSessionId = m_in.U32At(8);
    m_in.Drop(12);
    events.push_back(event);
    return true;
}

void CUsbControlDevice::SendInfo()
{
    const std::vector<std::uint8_t> blob = EncodeUsbInfo(m_info);
    AppendU32(m_out, USB_MSG_INFO);
    AppendU32(m_out, static_cast<std::uint32_t>(blob.size()));
    m_out.insert(m_out.end(), blob.begin(), blob.end());
}

CUsbControlDevice::State CUsbControlDevice::StateAfterHandshake() const
{
    if (m_info.dwPasswordKey == PASSWORD_NONE)
        return State::Connected;
    return m_info.dwPasswordKey == PASSWORD_ON_DEVICE ? State::AwaitUnlockRequest : State::AwaitPassword;
}

}   // namespace handheldwire

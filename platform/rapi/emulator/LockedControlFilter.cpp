#include "platform/rapi/emulator/LockedControlFilter.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/UsbMessages.h"

namespace {
using handheldwire::USB_ANSWER_PING;
using handheldwire::USB_MSG_PING;
using handheldwire::USB_MSG_SESSION;

constexpr std::size_t SESSION_REQUEST_BYTES = 12;
}   // namespace

bool CLockedControlFilter::Next(std::vector<std::uint8_t>& bytes, std::vector<std::uint8_t>& answers)
{
    std::size_t cbMessage = m_held.size();
    bool bDropped = false;
    while (m_bLocked && (cbMessage = TakeFront(answers, bDropped)) != 0 && bDropped)
        m_held.erase(m_held.begin(), m_held.begin() + cbMessage);
    if (cbMessage == 0)
        return false;
    bytes.assign(m_held.begin(), m_held.begin() + cbMessage);
    m_held.erase(m_held.begin(), m_held.begin() + cbMessage);
    return true;
}

// A password's byte count is even (UTF-16), so the odd first u16 of a ping
// (1) or a session request (5) tells them from a password.
std::size_t CLockedControlFilter::TakeFront(std::vector<std::uint8_t>& answers, bool& bDropped) const
{
    bDropped = false;
    if (m_bPasswords && m_held.size() >= 2 && m_held[0] % 2 == 0) {
        const std::size_t cbPassword = 2u + (m_held[0] | (m_held[1] << 8));
        return cbPassword <= m_held.size() ? cbPassword : 0;
    }
    if (m_held.size() < 4)
        return 0;
    const std::uint32_t nCommand = U32At(0);
    if (nCommand == USB_MSG_PING) {
        handheldwire::AppendU32(answers, USB_ANSWER_PING);
        bDropped = true;
        return 4;
    }
    if (nCommand != USB_MSG_SESSION)
        return 4;
    bDropped = m_held.size() >= SESSION_REQUEST_BYTES;
    return bDropped ? SESSION_REQUEST_BYTES : 0;
}

std::uint32_t CLockedControlFilter::U32At(std::size_t nOffset) const
{
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | m_held[nOffset + i];
    return n;
}

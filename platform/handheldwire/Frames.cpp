#include "platform/handheldwire/Frames.h"

#include "platform/handheldwire/ByteCodec.h"

namespace handheldwire {

RapiVersion VersionForOs(std::uint32_t nMajor, std::uint32_t nMinor)
{
    return nMajor > 4 && nMinor > 0 ? RapiVersion::V2 : RapiVersion::V1;
}

std::vector<std::uint8_t> MakeFrame(const std::vector<std::uint8_t>& payload)
{
    CByteWriter writer;
    writer.U32(static_cast<std::uint32_t>(payload.size()));
    writer.Bytes(payload);
    return writer.Take();
}

void CFrameAssembler::Feed(const std::uint8_t* p, std::size_t cb)
{
    if (m_bRefused || cb == 0)
        return;
    m_pending.Append(p, cb);
    CheckFrontLength();
}

bool CFrameAssembler::Next(std::vector<std::uint8_t>& payload)
{
    if (m_bRefused || !m_pending.Has(4))
        return false;
    const std::uint32_t cbPayload = m_pending.U32At(0);
    if (!m_pending.Has(4 + static_cast<std::size_t>(cbPayload)))
        return false;
    payload.assign(m_pending.Front() + 4, m_pending.Front() + 4 + cbPayload);
    m_pending.Drop(4 + static_cast<std::size_t>(cbPayload));
    CheckFrontLength();
    return true;
}

void CFrameAssembler::CheckFrontLength()
{
    if (!m_pending.Has(4))
        return;
    const std::uint32_t cbPayload = m_pending.U32At(0);
    if (cbPayload == 0 || cbPayload > m_cbMax) {
        m_bRefused = true;
        m_pending.Clear();
    }
}

}   // namespace handheldwire

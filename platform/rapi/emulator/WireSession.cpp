#include "platform/rapi/emulator/WireSession.h"

#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/Password.h"
#include "platform/rapi/emulator/HostileWireListing.h"

namespace {
using handheldwire::Call;
using handheldwire::RapiReply;
using handheldwire::RapiRequest;
using handheldwire::RapiVersion;

// A frame or a password that has begun must be complete within this time;
// between frames a session may stay idle as long as its peer likes.
constexpr DWORD REST_TIMEOUT_MS = 10000;
constexpr DWORD SEND_TIMEOUT_MS = 10000;

// A refused handheld fails every call: V1 with the flag word and the
// HRESULT, V2 (which carries none) with the HRESULT as the last error.
RapiReply RefusedReply(Call call, HRESULT hr, RapiVersion version)
{
    RapiReply reply;
    if (version == RapiVersion::V1) {
        reply.hrFailure = static_cast<std::uint32_t>(hr);
        return reply;
    }
    reply.dwLastError = static_cast<std::uint32_t>(hr);
    const bool bInvalidHandle =
        call == Call::CreateFile || call == Call::FindFirstFile || call == Call::GetFileAttributes;
    reply.dwResult = bInvalidHandle ? 0xFFFFFFFF : 0;
    return reply;
}
}   // namespace

CWireSession::CWireSession(CSocket link, DWORD dwId, const SessionSetup& setup, CHandheldStore& store,
                           CLinkFaults& faults)
    : m_link(std::move(link)), m_setup(setup), m_faults(faults), m_calls(dwId, store, faults)
{
}

void CWireSession::Serve()
{
    if (m_setup.bPasswordStep && !TakePassword())
        return;
    handheldwire::CFrameAssembler assembler;
    size_t cbPending = 0;                   // bytes of a frame begun and not yet taken
    CLinkFaults::Clock::time_point began;   // when the first of them came
    for (;;) {
        std::vector<std::uint8_t> received;
        if (ReceiveSome(m_link.Get(), received, cbPending ? REST_TIMEOUT_MS : INFINITE) != ioOk)
            return;
        if (cbPending == 0)
            began = CLinkFaults::Clock::now();
        assembler.Feed(received.data(), received.size());
        cbPending += received.size();
        std::vector<std::uint8_t> payload;
        while (assembler.Next(payload)) {
            cbPending -= 4 + payload.size();
            if (!AnswerFrame(payload, began))
                return;
            began = CLinkFaults::Clock::now();
        }
        if (assembler.IsRefused())
            return;
    }
}

// u16 count, then that many encoded bytes; a wrong password is answered
// and the session closed.
bool CWireSession::TakePassword()
{
    std::uint8_t count[2];
    if (RecvAll(m_link.Get(), count, sizeof(count), REST_TIMEOUT_MS, nullptr) != ioOk)
        return false;
    std::vector<std::uint8_t> encoded(count[0] | (count[1] << 8));
    std::u16string strPassword;
    if ((!encoded.empty() && RecvAll(m_link.Get(), encoded.data(), encoded.size(), REST_TIMEOUT_MS, nullptr) != ioOk)
        || !handheldwire::DecodePassword(encoded.data(), encoded.size(), m_setup.nKey, strPassword))
        return false;
    const bool bAccepted = strPassword == m_setup.strPassword;
    return SendBytes(m_link.Get(), handheldwire::EncodeSessionVerdict(bAccepted), SEND_TIMEOUT_MS) == ioOk && bAccepted;
}

bool CWireSession::AnswerFrame(const std::vector<std::uint8_t>& payload, CLinkFaults::Clock::time_point began)
{
    m_faults.PaceTransferSince(payload.size() + 4, began);
    m_faults.DelayCall();
    RapiRequest request;
    if (!handheldwire::DecodeRequest(payload.data(), payload.size(), m_setup.version, request))
        return false;
    if (!m_faults.AnswersHandshake())
        return true;
    RapiReply reply;
    const HRESULT hrRefusal = m_faults.HandshakeResult();
    if (FAILED(hrRefusal))
        reply = RefusedReply(request.call, hrRefusal, m_setup.version);
    else if (!m_calls.Answer(request, reply))
        return false;
    return SendFrame(EncodeAnswer(request, reply));
}

std::vector<std::uint8_t> CWireSession::EncodeAnswer(const RapiRequest& request, const RapiReply& reply)
{
    if (request.call == Call::FindAllFiles)
        return EncodeListingReply(request.dwFlags, reply, m_setup.version, m_faults.NextListingFault());
    if (request.call == Call::FindFirstFile)
        return EncodeSearchReply(reply, m_setup.version, m_faults.NextListingFault());
    return handheldwire::EncodeReply(request.call, request.dwFlags, reply, m_setup.version);
}

bool CWireSession::SendFrame(const std::vector<std::uint8_t>& payload)
{
    const std::vector<std::uint8_t> frame = handheldwire::MakeFrame(payload);
    const size_t cbSent = m_faults.CutsFrames() ? 4 + payload.size() / 2 : frame.size();
    return SendPaced(m_link.Get(), frame.data(), cbSent, m_faults, SEND_TIMEOUT_MS) == ioOk && cbSent == frame.size();
}

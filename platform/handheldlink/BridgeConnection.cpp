#include "platform/handheldlink/BridgeConnection.h"

#include "platform/handheldwire/ByteCodec.h"

namespace handheldlink {
namespace {
using handheldwire::Call;
using handheldwire::RapiReply;
using handheldwire::RapiRequest;

// A request that has begun must be complete within this time; between
// requests the stand-in may stay idle as long as it likes, and the link
// is looked at this often meanwhile.
constexpr std::uint32_t REQUEST_REST_MS = 10000;
constexpr std::uint32_t IDLE_LOOK_MS = 200;
constexpr std::uint32_t REPLY_SEND_MS = 10000;
constexpr std::uint32_t INVALID_HANDLE_ERROR = 6;        // ERROR_INVALID_HANDLE
constexpr std::uint32_t TOO_MANY_OPEN_FILES_ERROR = 4;   // ERROR_TOO_MANY_OPEN_FILES
constexpr std::uint32_t INVALID_HANDHELD_HANDLE = 0xFFFFFFFF;
// Far more than an installation keeps open; the table stays small.
constexpr std::size_t MAX_OPEN_HANDLES = 1024;

// A version 1 failure carries an HRESULT and no last error: the HRESULT
// goes to the stand-in as the error, so the cause is not lost.
std::uint32_t ErrorOf(const RapiReply& reply)
{
    return reply.hrFailure ? reply.hrFailure : reply.dwLastError;
}

std::uint32_t U32Of(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
}   // namespace

CBridgeConnection::CBridgeConnection(CLinkSocket privateLink, IHandheldLink& link, const LinkSettings& settings,
                                     const std::atomic<bool>& bStopping)
    : m_privateLink(std::move(privateLink)), m_link(link), m_settings(settings), m_bStopping(bStopping)
{
}

void CBridgeConnection::Serve()
{
    // One buffer for every request's body: an installation's blocks of
    // 64 KiB come one after another.
    std::vector<std::uint8_t> body;
    for (;;) {
        PrivateRequest request;
        std::vector<std::uint8_t> reply;
        if (!ReceiveRequest(body) || !DecodePrivateRequest(body.data(), body.size(), request) || !Answer(request, reply)
            || !SendReply(reply) || !m_pClient)
            return;
    }
}

bool CBridgeConnection::ReceiveRequest(std::vector<std::uint8_t>& body)
{
    while (!m_privateLink.WaitReadable(IDLE_LOOK_MS)) {
        if (m_bStopping || (m_pClient && !m_link.IsAlive(m_nGeneration)))
            return false;
    }
    std::uint8_t length[4];
    if (!m_privateLink.ReceiveExactly(length, sizeof(length), REQUEST_REST_MS))
        return false;
    const std::uint32_t cb = U32Of(length);
    if (cb == 0 || cb > MAX_PRIVATE_REQUEST_BYTES)
        return false;
    body.resize(cb);
    return m_privateLink.ReceiveExactly(body.data(), cb, REQUEST_REST_MS);
}

bool CBridgeConnection::Answer(PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    if (request.op == PrivateOp::Hello)
        return OnHello(request, reply);
    if (!m_pClient)
        return false;
    switch (request.op) {
    case PrivateOp::FindAllFiles:
        return OnFindAllFiles(request, reply);
    case PrivateOp::CreateFile:
        return OnCreateFile(request, reply);
    case PrivateOp::WriteFile:
        return OnWriteFile(request, reply);
    case PrivateOp::CloseHandle:
        return OnCloseHandle(request, reply);
    case PrivateOp::DeleteFile:
        return OnDeleteFile(request, reply);
    default:
        return false;
    }
}

// A refusal is answered, and the connection then ends.
bool CBridgeConnection::OnHello(const PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    if (m_pClient || request.dwMagic != PRIVATE_MAGIC || request.dwVersion != PRIVATE_VERSION)
        return false;
    CLinkSocket session;
    handheldwire::RapiVersion version;
    if (!m_link.OpenSession(session, version, m_nGeneration)) {
        reply = EncodeStatusReply(HR_DEVICE_NOT_CONNECTED, 0);
        return true;
    }
    m_pClient = std::make_unique<CRapiClient>(std::move(session), version, m_settings.msCallBound);
    reply = EncodeStatusReply(0, 0);
    return true;
}

bool CBridgeConnection::OnFindAllFiles(const PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    RapiRequest call;
    call.call = Call::FindAllFiles;
    call.strName = request.strPath;
    call.dwFlags = request.dwFlags;
    RapiReply answer;
    if (!Call(call, answer))
        return false;
    // Version 1 carries no result: a listing without a failure succeeded.
    const bool bOk =
        answer.hrFailure == 0 && (answer.dwResult != 0 || handheldwire::RapiVersion::V1 == m_pClient->Version());
    reply = EncodeListingReply(bOk, ErrorOf(answer), bOk ? answer.records : std::vector<handheldwire::FindRecord>());
    return true;
}

bool CBridgeConnection::OnCreateFile(const PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    RapiRequest call;
    call.call = Call::CreateFile;
    call.strName = request.strPath;
    call.dwAccess = request.dwAccess;
    call.dwShare = request.dwShare;
    call.dwCreation = request.dwDisposition;
    call.dwFlagsAndAttributes = request.dwAttributes;
    RapiReply answer;
    if (!Call(call, answer))
        return false;
    if (answer.hrFailure != 0 || answer.dwResult == INVALID_HANDHELD_HANDLE) {
        reply = EncodeStatusReply(0, ErrorOf(answer));
        return true;
    }
    if (m_handles.size() >= MAX_OPEN_HANDLES) {
        RapiRequest close;
        close.call = Call::CloseHandle;
        close.hFile = answer.dwResult;
        RapiReply closed;
        reply = EncodeStatusReply(0, TOO_MANY_OPEN_FILES_ERROR);
        return Call(close, closed);
    }
    const std::uint32_t hPrivate = m_nNextHandle++;
    m_handles[hPrivate] = answer.dwResult;
    reply = EncodeStatusReply(hPrivate, answer.dwLastError);
    return true;
}

// A handheld that claims more bytes written than it was given lies: the
// file cannot be trusted, and neither can the session.
// The block goes on to the handheld as it is, not copied.
bool CBridgeConnection::OnWriteFile(PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    const auto it = m_handles.find(request.hFile);
    if (it == m_handles.end()) {
        reply = EncodeWriteReply(0, INVALID_HANDLE_ERROR, 0);
        return true;
    }
    RapiRequest call;
    call.call = Call::WriteFile;
    call.hFile = it->second;
    call.data = std::move(request.data);
    RapiReply answer;
    if (!Call(call, answer) || answer.cbDone > call.data.size())
        return false;
    const bool bOk = answer.hrFailure == 0 && answer.dwResult != 0;
    reply = EncodeWriteReply(bOk, ErrorOf(answer), answer.hrFailure == 0 ? answer.cbDone : 0);
    return true;
}

bool CBridgeConnection::OnCloseHandle(const PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    const auto it = m_handles.find(request.hFile);
    if (it == m_handles.end()) {
        reply = EncodeStatusReply(0, INVALID_HANDLE_ERROR);
        return true;
    }
    RapiRequest call;
    call.call = Call::CloseHandle;
    call.hFile = it->second;
    RapiReply answer;
    if (!Call(call, answer))
        return false;
    const bool bOk = answer.hrFailure == 0 && answer.dwResult != 0;
    if (bOk)
        m_handles.erase(it);
    reply = EncodeStatusReply(bOk, ErrorOf(answer));
    return true;
}

bool CBridgeConnection::OnDeleteFile(const PrivateRequest& request, std::vector<std::uint8_t>& reply)
{
    RapiRequest call;
    call.call = Call::DeleteFile;
    call.strName = request.strPath;
    RapiReply answer;
    if (!Call(call, answer))
        return false;
    reply = EncodeStatusReply(answer.hrFailure == 0 && answer.dwResult != 0, ErrorOf(answer));
    return true;
}

// A call through a link already declared gone is not tried.
bool CBridgeConnection::Call(const RapiRequest& request, RapiReply& reply)
{
    return m_link.IsAlive(m_nGeneration) && m_pClient->Call(request, reply);
}

bool CBridgeConnection::SendReply(const std::vector<std::uint8_t>& reply)
{
    std::vector<std::uint8_t> frame;
    handheldwire::AppendU32(frame, static_cast<std::uint32_t>(reply.size()));
    frame.insert(frame.end(), reply.begin(), reply.end());
    return m_privateLink.SendAll(frame.data(), frame.size(), REPLY_SEND_MS);
}

}   // namespace handheldlink

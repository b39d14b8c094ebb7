#include "platform/rapi/emulator/EmulatorConnection.h"
#include "platform/rapi/SocketIo.h"
#include "platform/rapi/emulator/HandheldSockets.h"
#include "platform/rapi/emulator/HostileListing.h"

namespace {
// A request that has begun must be complete within this time; between
// requests a connection may stay idle as long as its peer likes.
constexpr DWORD REQUEST_TIMEOUT_MS = 10000;
constexpr DWORD REPLY_TIMEOUT_MS = 10000;

void PutStatus(CWireWriter& reply, DWORD dwResult, DWORD dwError)
{
    reply.PutDword(dwResult);
    reply.PutDword(dwError);
}
}   // namespace

CEmulatorConnection::CEmulatorConnection(CSocket link, DWORD dwId, CHandheldStore& store, CLinkFaults& faults)
    : m_link(std::move(link)), m_dwId(dwId), m_store(store), m_faults(faults)
{
}

CEmulatorConnection::~CEmulatorConnection()
{
    m_store.CloseHandlesOf(m_dwId);
}

void CEmulatorConnection::Serve()
{
    for (;;) {
        std::vector<BYTE> request;
        if (RecvFrame(m_link.Get(), request, RapiWire::MAX_REQUEST_BYTES, INFINITE, REQUEST_TIMEOUT_MS, nullptr)
            != ioOk)
            return;
        m_faults.PaceTransfer(request.size());
        m_faults.DelayCall();
        CWireReader reader(request);
        CWireWriter reply;
        Outcome outcome = Dispatch(reader, reply);
        if (outcome == outDrop)
            return;
        if (outcome == outSilent)
            continue;
        if (!SendReply(reply))
            return;
    }
}

bool CEmulatorConnection::SendReply(const CWireWriter& reply)
{
    const CWireWriter frame = FrameOf(reply);
    const std::vector<BYTE>& bytes = frame.Bytes();
    return SendPaced(m_link.Get(), bytes.data(), bytes.size(), m_faults, REPLY_TIMEOUT_MS) == ioOk;
}

CEmulatorConnection::Outcome CEmulatorConnection::Dispatch(CWireReader& request, CWireWriter& reply)
{
    BYTE opcode = request.GetByte();
    if (opcode == RapiWire::opHello)
        return OnHello(request, reply);
    if (!m_bGreeted)
        return outDrop;
    switch (opcode) {
    case RapiWire::opFindAllFiles:
        return OnFindAllFiles(request, reply);
    case RapiWire::opCreateFile:
        return OnCreateFile(request, reply);
    case RapiWire::opWriteFile:
        return OnWriteFile(request, reply);
    case RapiWire::opCloseHandle:
        return OnCloseHandle(request, reply);
    case RapiWire::opDeleteFile:
        return OnDeleteFile(request, reply);
    default:
        return outDrop;
    }
}

CEmulatorConnection::Outcome CEmulatorConnection::OnHello(CWireReader& request, CWireWriter& reply)
{
    DWORD dwMagic = request.GetDword();
    DWORD dwVersion = request.GetDword();
    if (!request.IsAtEnd() || dwMagic != RapiWire::HELLO_MAGIC || dwVersion != RapiWire::VERSION || m_bGreeted)
        return outDrop;
    if (!m_faults.AnswersHandshake())
        return outSilent;
    HRESULT hr = m_faults.HandshakeResult();
    PutStatus(reply, static_cast<DWORD>(hr), 0);
    m_bGreeted = SUCCEEDED(hr);
    return outReply;
}

CEmulatorConnection::Outcome CEmulatorConnection::OnFindAllFiles(CWireReader& request, CWireWriter& reply)
{
    DWORD dwFlags = request.GetDword();
    std::wstring strPattern = request.GetWide(RapiWire::MAX_PATH_UNITS);
    if (!request.IsAtEnd())
        return outDrop;
    std::vector<CE_FIND_DATA> records;
    DWORD dwError;
    bool bOk = m_store.FindAllFiles(strPattern, dwFlags, records, &dwError);
    PutStatus(reply, bOk, dwError);
    PutListing(reply, records, m_faults.NextListingFault());
    return outReply;
}

CEmulatorConnection::Outcome CEmulatorConnection::OnCreateFile(CWireReader& request, CWireWriter& reply)
{
    CreateFileRequest create;
    create.dwAccess = request.GetDword();
    create.dwShareMode = request.GetDword();
    create.dwDisposition = request.GetDword();
    request.GetDword();   // the attributes: new files are plain files
    create.strPath = request.GetWide(RapiWire::MAX_PATH_UNITS);
    if (!request.IsAtEnd())
        return outDrop;
    DWORD dwError;
    DWORD dwHandle = m_store.CreateFile(m_dwId, create, &dwError);
    PutStatus(reply, dwHandle, dwError);
    return outReply;
}

CEmulatorConnection::Outcome CEmulatorConnection::OnWriteFile(CWireReader& request, CWireWriter& reply)
{
    DWORD dwHandle = request.GetDword();
    DWORD cb = request.GetDword();
    const BYTE* pData = cb <= RapiWire::MAX_WRITE_BYTES ? request.GetBytes(cb) : nullptr;
    if (!pData || !request.IsAtEnd())
        return outDrop;
    DWORD cbWritten = 0;
    DWORD dwError = 0;
    bool bOk = false;
    if (m_faults.WriteBeforeDrop(cb, [&](DWORD cbLimit) {
            bOk = m_store.WriteFile(m_dwId, dwHandle, pData, cb, cbLimit, &cbWritten, &dwError);
            return cbWritten;
        }))
        return outDrop;
    PutStatus(reply, bOk, dwError);
    reply.PutDword(cbWritten);
    return outReply;
}

CEmulatorConnection::Outcome CEmulatorConnection::OnCloseHandle(CWireReader& request, CWireWriter& reply)
{
    DWORD dwHandle = request.GetDword();
    if (!request.IsAtEnd())
        return outDrop;
    DWORD dwError;
    bool bOk = m_store.CloseHandle(m_dwId, dwHandle, &dwError);
    PutStatus(reply, bOk, dwError);
    return outReply;
}

CEmulatorConnection::Outcome CEmulatorConnection::OnDeleteFile(CWireReader& request, CWireWriter& reply)
{
    std::wstring strPath = request.GetWide(RapiWire::MAX_PATH_UNITS);
    if (!request.IsAtEnd())
        return outDrop;
    DWORD dwError;
    bool bOk = m_store.DeleteFile(strPath, &dwError);
    PutStatus(reply, bOk, dwError);
    return outReply;
}

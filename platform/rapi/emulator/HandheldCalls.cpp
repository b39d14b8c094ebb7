#include "platform/rapi/emulator/HandheldCalls.h"

#include "platform/rapi/emulator/WireConversions.h"

#include <shlobj.h>

namespace {
using handheldwire::Call;
using handheldwire::RapiReply;
using handheldwire::RapiRequest;

// A read answers at most this much, so that its reply fits in one frame.
constexpr DWORD MAX_READ_BYTES = handheldwire::MAX_FRAME_PAYLOAD - 64;
const std::u16string PERSONAL_FOLDER = u"\\My Documents";
}   // namespace

CHandheldCalls::CHandheldCalls(DWORD dwOwner, CHandheldStore& store, CLinkFaults& faults)
    : m_dwOwner(dwOwner), m_store(store), m_faults(faults)
{
}

CHandheldCalls::~CHandheldCalls()
{
    m_store.CloseHandlesOf(m_dwOwner);
}

bool CHandheldCalls::Answer(const RapiRequest& request, RapiReply& reply)
{
    reply = RapiReply();
    switch (request.call) {
    case Call::CreateFile:
        OnCreateFile(request, reply);
        return true;
    case Call::WriteFile:
        return OnWriteFile(request, reply);
    case Call::ReadFile:
        OnReadFile(request, reply);
        return true;
    case Call::FindAllFiles:
        OnFindAllFiles(request, reply);
        return true;
    case Call::FindFirstFile:
        OnFindFirstFile(request, reply);
        return true;
    case Call::GetSpecialFolderPath:
        OnGetSpecialFolderPath(request, reply);
        return true;
    default:
        OnPathCall(request, reply);
        return true;
    }
}

void CHandheldCalls::OnCreateFile(const RapiRequest& request, RapiReply& reply)
{
    DWORD dwError = 0;
    CreateFileRequest create = { WideOf(request.strName), request.dwAccess, request.dwShare, request.dwCreation };
    DWORD dwHandle = m_store.CreateFile(m_dwOwner, create, &dwError);
    reply.dwResult = dwHandle ? dwHandle : 0xFFFFFFFF;
    reply.dwLastError = dwError;
}

bool CHandheldCalls::OnWriteFile(const RapiRequest& request, RapiReply& reply)
{
    DWORD dwError = 0;
    const DWORD cb = static_cast<DWORD>(request.data.size());
    DWORD cbWritten = 0;
    const bool bPulled = m_faults.WriteBeforeDrop(cb, [&](DWORD cbLimit) {
        reply.dwResult =
            m_store.WriteFile(m_dwOwner, request.hFile, request.data.data(), cb, cbLimit, &cbWritten, &dwError);
        return cbWritten;
    });
    reply.cbDone = cbWritten;
    reply.dwLastError = dwError;
    return !bPulled;
}

void CHandheldCalls::OnReadFile(const RapiRequest& request, RapiReply& reply)
{
    DWORD dwError = 0;
    const DWORD cb = request.cbToRead < MAX_READ_BYTES ? request.cbToRead : MAX_READ_BYTES;
    reply.dwResult = m_store.ReadFile(m_dwOwner, request.hFile, cb, reply.data, &dwError);
    reply.cbDone = static_cast<std::uint32_t>(reply.data.size());
    reply.dwLastError = dwError;
}

void CHandheldCalls::OnFindAllFiles(const RapiRequest& request, RapiReply& reply)
{
    DWORD dwError = 0;
    std::vector<CE_FIND_DATA> found;
    reply.dwResult = m_store.FindAllFiles(WideOf(request.strName), request.dwFlags, found, &dwError);
    for (const CE_FIND_DATA& data : found)
        reply.records.push_back(RecordOf(data));
    reply.dwLastError = dwError;
}

void CHandheldCalls::OnFindFirstFile(const RapiRequest& request, RapiReply& reply)
{
    DWORD dwError = 0;
    CE_FIND_DATA data = {};
    DWORD dwHandle = m_store.FindFirstFile(m_dwOwner, WideOf(request.strName), data, &dwError);
    reply.dwResult = dwHandle ? dwHandle : 0xFFFFFFFF;
    if (dwHandle)
        reply.records.push_back(RecordOf(data));
    reply.dwLastError = dwError;
}

// Only the documents folder is known; a buffer too short for the path and
// its terminator gets nothing.
void CHandheldCalls::OnGetSpecialFolderPath(const RapiRequest& request, RapiReply& reply)
{
    if (request.dwFolder != CSIDL_PERSONAL)
        reply.dwLastError = ERROR_INVALID_PARAMETER;
    else if (request.cchBuffer <= PERSONAL_FOLDER.size())
        reply.dwLastError = ERROR_INSUFFICIENT_BUFFER;
    else
        reply.strPath = PERSONAL_FOLDER;
}

void CHandheldCalls::OnPathCall(const RapiRequest& request, RapiReply& reply)
{
    const std::wstring strName = WideOf(request.strName);
    DWORD dwError = 0;
    DWORD* pdwError = &dwError;
    switch (request.call) {
    case Call::CloseHandle:
        reply.dwResult = m_store.CloseHandle(m_dwOwner, request.hFile, pdwError);
        break;
    case Call::FindClose:
        reply.dwResult = m_store.FindClose(m_dwOwner, request.hFile, pdwError);
        break;
    case Call::DeleteFile:
        reply.dwResult = m_store.DeleteFile(strName, pdwError);
        break;
    case Call::GetFileAttributes:
        reply.dwResult = m_store.GetFileAttributes(strName, pdwError);
        break;
    case Call::CreateDirectory:
        reply.dwResult = m_store.CreateDirectory(strName, pdwError);
        break;
    case Call::RemoveDirectory:
        reply.dwResult = m_store.RemoveDirectory(strName, pdwError);
        break;
    case Call::MoveFile:
        reply.dwResult = m_store.MoveFile(strName, WideOf(request.strNewName), pdwError);
        break;
    case Call::CopyFile:
        reply.dwResult = m_store.CopyFile(strName, WideOf(request.strNewName), request.bFailIfExists, pdwError);
        break;
    default:
        break;
    }
    reply.dwLastError = dwError;
}

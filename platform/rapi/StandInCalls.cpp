#include "platform/rapi/StandInCalls.h"

#include "platform/rapi/Endpoint.h"
#include "platform/rapi/InProcessLink.h"
#include "platform/rapi/LinkConfiguration.h"
#include "platform/rapi/RemoteCall.h"

namespace {
void SetLastRemoteError(DWORD dwError)
{
    CLock lock(g_rapiState.cs);
    g_rapiState.dwLastError = dwError;
    g_rapiState.hrLinkError = S_OK;
}

// Checked here as well as on the handheld, so a bad argument costs no trip.
BOOL IsAcceptablePath(LPCWSTR pszPath)
{
    if (!pszPath) {
        SetLastRemoteError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (wcslen(pszPath) > RapiWire::MAX_PATH_UNITS) {
        SetLastRemoteError(ERROR_FILENAME_EXCED_RANGE);
        return FALSE;
    }
    return TRUE;
}

// Handles are the handheld's own numbers; 0 is never one of them.
DWORD ToRemoteHandle(HANDLE h)
{
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(h));
}

HANDLE FromRemoteHandle(DWORD dwHandle)
{
    return dwHandle ? reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(dwHandle)) : INVALID_HANDLE_VALUE;
}

BOOL WriteBlock(DWORD dwHandle, const BYTE* pData, DWORD cb, DWORD* pdwWritten)
{
    *pdwWritten = 0;
    CRemoteCall call(RapiWire::opWriteFile);
    call.Request().PutDword(dwHandle);
    call.Request().PutDword(cb);
    call.Request().PutBytes(pData, cb);
    WriteFileReply reply = {};
    if (!call.Run() || !call.Conclude(DecodeWriteFileReply(call.Body(), call.BodySize(), cb, &reply), reply.status))
        return FALSE;
    *pdwWritten = reply.cbWritten;
    return reply.status.dwResult;
}

BOOL HasSession()
{
    CLock lock(g_rapiState.cs);
    return g_rapiState.pSession != nullptr;
}

// Sends a call whose reply is a bare outcome; TRUE when the handheld did it.
BOOL RunOutcomeCall(CRemoteCall& call)
{
    ReplyStatus status = {};
    return call.Run() && call.Conclude(DecodeOutcomeReply(call.Body(), call.BodySize(), &status), status)
           && status.dwResult;
}
// The stand-in's own PC side for the handheld the configuration names:
// the running one when it serves the same settings, else a new one in its
// place. Callers hold the lifecycle lock. FALSE when no handheld link is
// found or its ports cannot be bound.
BOOL ReachOwnLink(sockaddr_in* pAddr)
{
    handheldlink::LinkSettings settings;
    if (!ReadLinkConfiguration(&settings))
        return FALSE;
    if (g_rapiState.pLink == nullptr || !g_rapiState.pLink->Serves(settings)) {
        delete g_rapiState.pLink;
        g_rapiState.pLink = nullptr;
        std::unique_ptr<CInProcessLink> pLink(new CInProcessLink);
        if (!pLink->Start(settings))
            return FALSE;
        g_rapiState.pLink = pLink.release();
    }
    *pAddr = g_rapiState.pLink->Endpoint();
    return TRUE;
}
}   // namespace

namespace StandIn {
HRESULT CeRapiInitEx(RAPIINIT* pRapiInit)
{
    if (!pRapiInit || pRapiInit->cbSize != sizeof(RAPIINIT))
        return E_INVALIDARG;
    CLock lifecycle(g_rapiState.csLifecycle);
    if (HasSession())
        return CERAPI_E_ALREADYINITIALIZED;
    sockaddr_in addr;
    const EndpointSetting setting = ReadConfiguredEndpoint(&addr);
    if (setting == esMalformed)
        return E_INVALIDARG;
    if (setting == esNone && !ReachOwnLink(&addr))
        return LINK_DOWN_RESULT;
    std::unique_ptr<CRapiSession> pSession(new CRapiSession(addr, pRapiInit));
    HRESULT hr = pSession->Start();
    if (FAILED(hr))
        return hr;
    CLock lock(g_rapiState.cs);
    g_rapiState.pSession = std::move(pSession);
    return S_OK;
}

// The session ends; the stand-in's own link, if it went through one, stays.
HRESULT CeRapiUninit()
{
    CLock lifecycle(g_rapiState.csLifecycle);
    std::unique_ptr<CRapiSession> pSession;
    {
        CLock lock(g_rapiState.cs);
        pSession = std::move(g_rapiState.pSession);
    }
    return pSession ? S_OK : E_FAIL;
}

HRESULT CeRapiFreeBuffer(LPVOID pBuffer)
{
    if (pBuffer)
        LocalFree(pBuffer);
    return S_OK;
}

DWORD CeGetLastError()
{
    CLock lock(g_rapiState.cs);
    return g_rapiState.dwLastError;
}

HRESULT CeRapiGetError()
{
    CLock lock(g_rapiState.cs);
    return g_rapiState.hrLinkError;
}

BOOL CeFindAllFiles(LPCWSTR pszPath, DWORD dwFlags, LPDWORD pdwFoundCount, LPLPCE_FIND_DATA ppFindDataArray)
{
    if (!pdwFoundCount || !ppFindDataArray) {
        SetLastRemoteError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pdwFoundCount = 0;
    *ppFindDataArray = nullptr;
    if (!IsAcceptablePath(pszPath))
        return FALSE;
    CRemoteCall call(RapiWire::opFindAllFiles);
    call.Request().PutDword(dwFlags);
    call.Request().PutWide(pszPath);
    FindAllFilesReply reply = {};
    if (!call.Run() || !call.Conclude(DecodeFindAllFilesReply(call.Body(), call.BodySize(), &reply), reply.status)
        || !reply.status.dwResult)
        return FALSE;
    // The records are copied while the call still holds the library's lock.
    if (!CopySoundRecords(reply, pdwFoundCount, ppFindDataArray)) {
        SetLastRemoteError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    return TRUE;
}

HANDLE CeCreateFile(LPCWSTR pszFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                    DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE)
{
    if (!IsAcceptablePath(pszFileName))
        return INVALID_HANDLE_VALUE;
    CRemoteCall call(RapiWire::opCreateFile);
    call.Request().PutDword(dwDesiredAccess);
    call.Request().PutDword(dwShareMode);
    call.Request().PutDword(dwCreationDisposition);
    call.Request().PutDword(dwFlagsAndAttributes);
    call.Request().PutWide(pszFileName);
    ReplyStatus status = {};
    if (!call.Run() || !call.Conclude(DecodeCreateFileReply(call.Body(), call.BodySize(), &status), status))
        return INVALID_HANDLE_VALUE;
    return FromRemoteHandle(status.dwResult);
}

// Blocks beyond what one request carries go as several requests; the
// count stops at the first short one.
BOOL CeWriteFile(HANDLE hFile, LPCVOID pBuffer, DWORD nNumberOfBytesToWrite, LPDWORD pNumberOfBytesWritten,
                 LPOVERLAPPED)
{
    if (pNumberOfBytesWritten)
        *pNumberOfBytesWritten = 0;
    if (!pNumberOfBytesWritten || (!pBuffer && nNumberOfBytesToWrite > 0)) {
        SetLastRemoteError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const BYTE* pData = static_cast<const BYTE*>(pBuffer);
    DWORD dwTotal = 0;
    BOOL bWhole;
    do {
        DWORD cbBlock = nNumberOfBytesToWrite - dwTotal;
        if (cbBlock > RapiWire::MAX_WRITE_BYTES)
            cbBlock = RapiWire::MAX_WRITE_BYTES;
        DWORD dwWritten;
        bWhole = WriteBlock(ToRemoteHandle(hFile), pData + dwTotal, cbBlock, &dwWritten) && dwWritten == cbBlock;
        dwTotal += dwWritten;
    } while (bWhole && dwTotal < nNumberOfBytesToWrite);
    *pNumberOfBytesWritten = dwTotal;
    return bWhole;
}

BOOL CeCloseHandle(HANDLE hObject)
{
    CRemoteCall call(RapiWire::opCloseHandle);
    call.Request().PutDword(ToRemoteHandle(hObject));
    return RunOutcomeCall(call);
}

BOOL CeDeleteFile(LPCWSTR pszFileName)
{
    if (!IsAcceptablePath(pszFileName))
        return FALSE;
    CRemoteCall call(RapiWire::opDeleteFile);
    call.Request().PutWide(pszFileName);
    return RunOutcomeCall(call);
}
}   // namespace StandIn

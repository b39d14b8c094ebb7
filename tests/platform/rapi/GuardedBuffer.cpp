#include "tests/platform/rapi/GuardedBuffer.h"

#include <stdio.h>
#include <string.h>

CGuardedBuffer::CGuardedBuffer(size_t cbRoom)
    : m_pOuter(s_pCurrent), m_pfnOuterFilter(SetUnhandledExceptionFilter(ReportFault))
{
    s_pCurrent = this;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    m_cbPage = system.dwPageSize;
    m_cbRoom = (cbRoom + m_cbPage - 1) / m_cbPage * m_cbPage;
    m_pBase = static_cast<BYTE*>(VirtualAlloc(nullptr, m_cbRoom + m_cbPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD dwOldProtection;
    if (m_pBase && !VirtualProtect(m_pBase + m_cbRoom, m_cbPage, PAGE_NOACCESS, &dwOldProtection)) {
        VirtualFree(m_pBase, 0, MEM_RELEASE);
        m_pBase = nullptr;
    }
}

CGuardedBuffer::~CGuardedBuffer()
{
    if (m_pBase)
        VirtualFree(m_pBase, 0, MEM_RELEASE);
    SetUnhandledExceptionFilter(m_pfnOuterFilter);
    s_pCurrent = m_pOuter;
}

BYTE* CGuardedBuffer::Place(const void* pData, size_t cb)
{
    if (!m_pBase || cb > m_cbRoom)
        return nullptr;
    BYTE* pFirst = m_pBase + m_cbRoom - cb;
    if (cb > 0)
        memcpy(pFirst, pData, cb);
    return pFirst;
}

bool CGuardedBuffer::IsGuardPage(ULONG_PTR nAddress) const
{
    return m_pBase && nAddress - reinterpret_cast<ULONG_PTR>(m_pBase + m_cbRoom) < m_cbPage;
}

LONG WINAPI CGuardedBuffer::ReportFault(EXCEPTION_POINTERS* pException)
{
    const EXCEPTION_RECORD* pRecord = pException->ExceptionRecord;
    const ULONG_PTR nAddress = pRecord->NumberParameters >= 2 ? pRecord->ExceptionInformation[1] : 0;
    printf("exception %08lX at %p, touching %p%s; the bytes placed last: %s\n", pRecord->ExceptionCode,
           pRecord->ExceptionAddress, reinterpret_cast<void*>(nAddress),
           s_pCurrent && s_pCurrent->IsGuardPage(nAddress) ? " (the guard page)" : "",
           s_pCurrent ? s_pCurrent->m_strWhat.c_str() : "");
    fflush(stdout);
    return EXCEPTION_EXECUTE_HANDLER;
}

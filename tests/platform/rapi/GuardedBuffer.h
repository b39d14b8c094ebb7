// Memory that ends where a page no one may touch begins: bytes placed so
// that they end there make any read past them fault at once. While the
// buffer lives, such a fault ends the process with a line that says where
// it struck and what the bytes were, rather than waiting on a debugger.
#pragma once

#include <windows.h>
#include <string>

class CGuardedBuffer
{
public:
    // Room for at least cbRoom bytes before the guard page.
    explicit CGuardedBuffer(size_t cbRoom);
    ~CGuardedBuffer();
    CGuardedBuffer(const CGuardedBuffer&) = delete;
    CGuardedBuffer& operator=(const CGuardedBuffer&) = delete;

    // Copies cb bytes (at most the room) so that the last one lies just
    // before the guard page; answers where the first one lies.
    BYTE* Place(const void* pData, size_t cb);
    // What the bytes placed last are, for the line a fault prints.
    void Describe(std::string strWhat) { m_strWhat = std::move(strWhat); }

private:
    bool IsGuardPage(ULONG_PTR nAddress) const;
    static LONG WINAPI ReportFault(EXCEPTION_POINTERS* pException);

    static inline CGuardedBuffer* s_pCurrent = nullptr;
    BYTE* m_pBase = nullptr;
    size_t m_cbPage;
    size_t m_cbRoom;
    std::string m_strWhat;
    CGuardedBuffer* m_pOuter;
    LPTOP_LEVEL_EXCEPTION_FILTER m_pfnOuterFilter;
};

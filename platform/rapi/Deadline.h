// A point in time some milliseconds ahead (INFINITE: never reached), for
// bounding a sequence of waits by one total.
#pragma once

#include <windows.h>

class CDeadline
{
public:
    explicit CDeadline(DWORD dwTimeout) : m_dwStart(GetTickCount()), m_dwTimeout(dwTimeout) {}

    DWORD Remaining() const
    {
        if (m_dwTimeout == INFINITE)
            return INFINITE;
        DWORD dwElapsed = GetTickCount() - m_dwStart;
        return dwElapsed >= m_dwTimeout ? 0 : m_dwTimeout - dwElapsed;
    }

private:
    DWORD m_dwStart;
    DWORD m_dwTimeout;
};

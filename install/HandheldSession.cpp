#include "install/HandheldSession.h"

#include "device/RapiLink.h"

CHandheldSession::~CHandheldSession()
{
    if (m_bOpen)
        g_rapiLink.CeRapiUninit();
}

BOOL CHandheldSession::Open()
{
    m_bOpen = g_rapiLink.Connect(TRUE);
    return m_bOpen;
}

BOOL CHandheldSession::Reopen()
{
    if (m_bOpen)
        g_rapiLink.CeRapiUninit();
    m_bOpen = g_rapiLink.Connect(FALSE);
    return m_bOpen;
}

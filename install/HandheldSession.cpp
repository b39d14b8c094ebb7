#include "install/HandheldSession.h"

#include "device/RapiLink.h"

CHandheldSession::~CHandheldSession()
{
    if (m_bOpen)
        g_rapiLink.CeRapiUninit();
}

BOOL CHandheldSession::Open(BOOL bShowErrors)
{
    if (m_bOpen)
        g_rapiLink.CeRapiUninit();
    m_bOpen = g_rapiLink.Connect(bShowErrors);
    m_bLinkDown = !m_bOpen;
    return m_bOpen;
}

void CHandheldSession::NoteFailedCall()
{
    if (FAILED(g_rapiLink.CeRapiGetError()))
        m_bLinkDown = TRUE;
}

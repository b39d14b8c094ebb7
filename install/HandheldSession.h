// The handheld's session for one installation run: opened when the run
// starts, ended when it ends, and opened anew in between when the link
// broke. The session keeps track of whether a call it saw fail was the
// link's failure rather than the handheld's answer.
#pragma once

#include <windows.h>

class CHandheldSession
{
public:
    CHandheldSession() = default;
    ~CHandheldSession();
    CHandheldSession(const CHandheldSession&) = delete;
    CHandheldSession& operator=(const CHandheldSession&) = delete;

    // Opens the session, ending the one before if there was one, within
    // the link's own bound; with bShowErrors the link tells the user why
    // the handheld is not there.
    BOOL Open(BOOL bShowErrors);
    // Called after a remote call failed: notes whether the link failed it.
    void NoteFailedCall();
    // Whether the link broke since the session was opened: every call
    // fails until it is opened anew.
    BOOL IsLinkDown() const { return m_bLinkDown; }

private:
    BOOL m_bOpen = FALSE;
    BOOL m_bLinkDown = FALSE;
};

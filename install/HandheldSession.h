// The handheld's session for one installation run: opened when the run
// starts, ended when it ends, and opened anew in between when the link
// broke and a partial file must be taken away.
#pragma once

#include <windows.h>

class CHandheldSession
{
public:
    CHandheldSession() = default;
    ~CHandheldSession();
    CHandheldSession(const CHandheldSession&) = delete;
    CHandheldSession& operator=(const CHandheldSession&) = delete;

    // The device link tells the user itself why the handheld is not there.
    BOOL Open();
    // Ends the session and opens a new one without a word to the user;
    // FALSE when the handheld does not answer.
    BOOL Reopen();

private:
    BOOL m_bOpen = FALSE;
};

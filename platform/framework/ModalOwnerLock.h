// Keeps the main window disabled while a modal box or dialog is up, whoever
// owns the box. A box owned by the main window disables and enables it on
// its own (and so hands the activation back properly); one owned by a
// pop-up leaves it enabled, and this object disables it for its lifetime,
// unless it was disabled already.
#pragma once

#include <windows.h>

class CModalOwnerLock
{
public:
    explicit CModalOwnerLock(HWND hWndOwner);
    ~CModalOwnerLock();
    CModalOwnerLock(const CModalOwnerLock&) = delete;
    CModalOwnerLock& operator=(const CModalOwnerLock&) = delete;

private:
    HWND m_hWndDisabled = nullptr;
};

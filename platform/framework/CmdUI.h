// CCmdUI: asks the command handlers for the state of one user-interface
// element (a menu item or a control of a bar) and applies it.
#pragma once

#include <windows.h>

class CCmdTarget;
class CWnd;

class CCmdUI
{
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;          // position of the item in m_hMenu
    HMENU m_hMenu = nullptr;    // the popup menu of a menu item, or null
    CWnd* m_pOther = nullptr;   // the control of a bar, or null

    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);

    // Routes an update request for m_nID to pTarget. When no update handler
    // answers and bDisableIfNoHandler is set, the element is enabled exactly
    // when some command handler for m_nID exists.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);

protected:
    BOOL m_bEnableChanged = FALSE;
};

// Only records the state asked for; used to check whether a command is
// enabled before a menu item or accelerator runs it.
class CCmdEnableProbe : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn = TRUE) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
};

// CCmdTarget: an object with a message map that commands can be routed to.
#pragma once

#include "platform/framework/MessageMap.h"

// Filled by OnCmdMsg when it is only asked whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
};

class CCmdTarget
{
public:
    virtual ~CCmdTarget() = default;

    // Handles command nID with code nCode (CN_COMMAND, CN_UPDATE_COMMAND_UI
    // or MAKELONG(notification code, WM_NOTIFY)) through this object's
    // message map. With pHandlerInfo set, only reports whether a handler
    // exists, without calling it. Derived classes extend the route.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of this object's maps (derived class first) that
    // matches, or null.
    const AFX_MSGMAP_ENTRY* FindEntry(UINT nMessage, int nCode, UINT nID) const;
    BOOL Dispatch(const AFX_MSGMAP_ENTRY* pEntry, AFX_MSGCALL& call);
};

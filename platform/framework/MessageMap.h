// Message maps: a table per class that binds window messages and command ids
// to member functions, chained to the base class's table. Every entry is
// built by a template thunk specialised on the handler itself, so a handler
// with the wrong signature fails to compile on its map line; no member
// function pointer is ever cast to a generic type.
#pragma once

#include <windows.h>
#include <type_traits>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
class CPoint;

// Command codes of CCmdTarget::OnCmdMsg besides the control notification
// codes: a command, and a request for the command's user-interface state.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

// Base of the reflected messages a parent hands back to the child control
// that sent them (ON_NOTIFY_REFLECT).
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// The single message id under which all WM_CTLCOLORxxx messages are mapped.
constexpr UINT WM_CTLCOLOR = 0x0019;

// One message being dispatched through the maps.
struct AFX_MSGCALL
{
    UINT nMessage;
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;       // command id for commands and notifications
    void* pExtra;   // CCmdUI* for updates, NMHDR* for notifications
    LRESULT lResult;
};

// What OnCmdMsg receives in pExtra for a WM_NOTIFY notification.
struct AFX_NOTIFY
{
    NMHDR* pNMHDR;
    LRESULT* pResult;
};

using AFX_PTHUNK = void (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;   // window message, or WM_COMMAND / WM_NOTIFY for commands
    int nCode;       // CN_COMMAND, CN_UPDATE_COMMAND_UI or a notification code
    UINT nID;        // first command id (0 for window messages)
    UINT nLastID;    // last command id of a range
    AFX_PTHUNK pfnThunk;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

namespace afx {

template <class T> struct HandlerTraits;
template <class C, class R, class... A> struct HandlerTraits<R (C::*)(A...)>
{
    using Class = C;
    using Signature = R(A...);
};

template <auto Handler> using ClassOf = typename HandlerTraits<decltype(Handler)>::Class;

template <auto Handler, class Signature>
constexpr bool HasSignature = std::is_same_v<typename HandlerTraits<decltype(Handler)>::Signature, Signature>;

template <auto Handler> ClassOf<Handler>* Target(CCmdTarget* p)
{
    return static_cast<ClassOf<Handler>*>(p);
}

#define AFX_REQUIRE_SIGNATURE(Handler, Sig, Text) \
    static_assert(afx::HasSignature<Handler, Sig>, "message-map handler must be " Text)

// Message crackers, one per kind of entry.
template <auto H> void Command(CCmdTarget* p, AFX_MSGCALL&)
{
    AFX_REQUIRE_SIGNATURE(H, void(), "void OnXxx()");
    (Target<H>(p)->*H)();
}
template <auto H> void CommandRange(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, void(UINT), "void OnXxx(UINT nID)");
    (Target<H>(p)->*H)(c.nID);
}
template <auto H> void UpdateCommandUI(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, void(CCmdUI*), "void OnUpdateXxx(CCmdUI*)");
    (Target<H>(p)->*H)(static_cast<CCmdUI*>(c.pExtra));
}
template <auto H> void Notify(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, void(NMHDR*, LRESULT*), "void OnXxx(NMHDR*, LRESULT*)");
    (Target<H>(p)->*H)(reinterpret_cast<NMHDR*>(c.lParam), &c.lResult);
}
template <auto H> void Message(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, LRESULT(WPARAM, LPARAM), "LRESULT OnXxx(WPARAM, LPARAM)");
    c.lResult = (Target<H>(p)->*H)(c.wParam, c.lParam);
}
template <auto H> void VoidMessage(CCmdTarget* p, AFX_MSGCALL&)
{
    AFX_REQUIRE_SIGNATURE(H, void(), "void OnXxx()");
    (Target<H>(p)->*H)();
}
template <auto H> void OnCreate(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, int(LPCREATESTRUCT), "int OnCreate(LPCREATESTRUCT)");
    c.lResult = (Target<H>(p)->*H)(reinterpret_cast<LPCREATESTRUCT>(c.lParam));
}
template <auto H> void OnSize(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, void(UINT, int, int), "void OnSize(UINT, int, int)");
    (Target<H>(p)->*H)(static_cast<UINT>(c.wParam), (short)LOWORD(c.lParam), (short)HIWORD(c.lParam));
}
template <auto H> void OnActivateApp(CCmdTarget* p, AFX_MSGCALL& c)
{
    AFX_REQUIRE_SIGNATURE(H, void(BOOL, DWORD), "void OnActivateApp(BOOL, DWORD)");
    (Target<H>(p)->*H)(static_cast<BOOL>(c.wParam), static_cast<DWORD>(c.lParam));
}

// Crackers for messages whose arguments are framework objects; they are
// defined with those classes (Wnd.h, Gdi.h).
template <auto H> void OnEraseBkgnd(CCmdTarget* p, AFX_MSGCALL& c);
template <auto H> void OnCtlColor(CCmdTarget* p, AFX_MSGCALL& c);
template <auto H> void OnMouse(CCmdTarget* p, AFX_MSGCALL& c);

}   // namespace afx

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)        \
    const AFX_MSGMAP* theClass::GetMessageMap() const \
    {                                                 \
        return GetThisMessageMap();                   \
    }                                                 \
    const AFX_MSGMAP* theClass::GetThisMessageMap()   \
    {                                                 \
        using ThisClass = theClass;                   \
        using TheBaseClass = baseClass;               \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                        \
    {                                                                            \
        0, 0, 0, 0, nullptr                                                      \
    }                                                                            \
    }                                                                            \
    ;                                                                            \
    static const AFX_MSGMAP map = { &TheBaseClass::GetThisMessageMap, entries }; \
    return &map;                                                                 \
    }

#define ON_COMMAND(id, fn) { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), &afx::Command<&ThisClass::fn> },
#define ON_COMMAND_RANGE(idFirst, idLast, fn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(idFirst), (UINT)(idLast), &afx::CommandRange<&ThisClass::fn> },
#define ON_UPDATE_COMMAND_UI(id, fn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), &afx::UpdateCommandUI<&ThisClass::fn> },
#define ON_NOTIFY(code, id, fn)     { WM_NOTIFY, (int)(code), (UINT)(id), (UINT)(id), &afx::Notify<&ThisClass::fn> },
#define ON_NOTIFY_REFLECT(code, fn) { WM_REFLECT_BASE + WM_NOTIFY, (int)(code), 0, 0, &afx::Notify<&ThisClass::fn> },
#define ON_MESSAGE(msg, fn)         { (UINT)(msg), 0, 0, 0, &afx::Message<&ThisClass::fn> },

#define ON_WM_CREATE()      { WM_CREATE, 0, 0, 0, &afx::OnCreate<&ThisClass::OnCreate> },
#define ON_WM_DESTROY()     { WM_DESTROY, 0, 0, 0, &afx::VoidMessage<&ThisClass::OnDestroy> },
#define ON_WM_CLOSE()       { WM_CLOSE, 0, 0, 0, &afx::VoidMessage<&ThisClass::OnClose> },
#define ON_WM_SIZE()        { WM_SIZE, 0, 0, 0, &afx::OnSize<&ThisClass::OnSize> },
#define ON_WM_ACTIVATEAPP() { WM_ACTIVATEAPP, 0, 0, 0, &afx::OnActivateApp<&ThisClass::OnActivateApp> },
#define ON_WM_ERASEBKGND()  { WM_ERASEBKGND, 0, 0, 0, &afx::OnEraseBkgnd<&ThisClass::OnEraseBkgnd> },
#define ON_WM_CTLCOLOR()    { WM_CTLCOLOR, 0, 0, 0, &afx::OnCtlColor<&ThisClass::OnCtlColor> },
#define ON_WM_LBUTTONDOWN() { WM_LBUTTONDOWN, 0, 0, 0, &afx::OnMouse<&ThisClass::OnLButtonDown> },
#define ON_WM_LBUTTONUP()   { WM_LBUTTONUP, 0, 0, 0, &afx::OnMouse<&ThisClass::OnLButtonUp> },
#define ON_WM_MOUSEMOVE()   { WM_MOUSEMOVE, 0, 0, 0, &afx::OnMouse<&ThisClass::OnMouseMove> },

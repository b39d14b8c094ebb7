#include "platform/framework/CmdUI.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/MessagePump.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT UM_PING = WM_USER + 10;
constexpr UINT ID_FIRST = 100;
constexpr UINT ID_LAST = 105;
constexpr UINT ID_SOLO = 200;
constexpr UINT ID_DISABLED = 201;
constexpr UINT ID_UNHANDLED = 300;

std::vector<std::string> g_calls;

class CBaseWnd : public CWnd
{
protected:
    LRESULT OnPing(WPARAM wParam, LPARAM)
    {
        g_calls.push_back("base ping " + std::to_string(wParam));
        return 1;
    }
    void OnSize(UINT, int cx, int cy) { g_calls.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy)); }
    void OnSolo() { g_calls.push_back("base solo"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_MESSAGE(UM_PING, OnPing)
    ON_WM_SIZE()
    ON_COMMAND(ID_SOLO, OnSolo)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
public:
    CDerivedWnd() { CreateEx(0, nullptr, "test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr); }

protected:
    int OnCreate(LPCREATESTRUCT)
    {
        g_calls.push_back("create");
        return 0;
    }
    void OnRange(UINT nID) { g_calls.push_back("range " + std::to_string(nID)); }
    void OnSolo() { g_calls.push_back("derived solo"); }
    void OnDisabled() { g_calls.push_back("disabled ran"); }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(ID_FIRST, ID_LAST, OnRange)
    ON_COMMAND(ID_SOLO, OnSolo)
    ON_COMMAND(ID_DISABLED, OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

class MessageMapTest : public testing::Test
{
protected:
    void SetUp() override { g_calls.clear(); }
    CWinApp m_app;
};

TEST_F(MessageMapTest, WindowMessagesReachTheirHandlersThroughTheChain)
{
    CDerivedWnd wnd;
    ASSERT_NE(nullptr, wnd.m_hWnd);
    EXPECT_EQ(std::vector<std::string>{ "create" }, g_calls) << "adopted before WM_CREATE";
    g_calls.clear();

    EXPECT_EQ(1, wnd.SendMessage(UM_PING, 7));
    wnd.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(30, 40));
    EXPECT_EQ((std::vector<std::string>{ "base ping 7", "size 30x40" }), g_calls);
}

TEST_F(MessageMapTest, CommandsFindTheMostDerivedHandlerAndRanges)
{
    CDerivedWnd wnd;
    g_calls.clear();
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_SOLO, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_FIRST, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_LAST, 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_LAST + 1, 0));
    EXPECT_EQ((std::vector<std::string>{ "derived solo", "range 100", "range 105" }), g_calls);
}

TEST_F(MessageMapTest, DisabledCommandDoesNotRunFromMenuOrAccelerator)
{
    CDerivedWnd wnd;
    g_calls.clear();
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 0));   // menu
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_DISABLED, 1));   // accelerator
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(MessageMapTest, CommandUpdateAsksHandlersAndProbesWithoutCalling)
{
    CDerivedWnd wnd;
    struct Case
    {
        UINT nID;
        BOOL bDisableIfNoHandler;
        BOOL bEnabled;
    };
    const Case cases[] = {
        { ID_SOLO, TRUE, TRUE },         // a command handler and no update handler
        { ID_UNHANDLED, TRUE, FALSE },   // nothing handles it
        { ID_UNHANDLED, FALSE, TRUE },   // left as it was
        { ID_DISABLED, TRUE, FALSE },    // the update handler decides
    };
    for (const Case& c : cases) {
        g_calls.clear();
        CCmdEnableProbe state;
        state.m_nID = c.nID;
        state.DoUpdate(&wnd, c.bDisableIfNoHandler);
        EXPECT_EQ(c.bEnabled, state.m_bEnabled) << c.nID;
        EXPECT_TRUE(g_calls.empty()) << "probing runs no command";
    }
}

class CSelfDeletingWnd : public CWnd
{
public:
    explicit CSelfDeletingWnd(bool* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CSelfDeletingWnd() override { *m_pbDeleted = true; }
    void PostNcDestroy() override
    {
        m_bDetachedFirst = m_hWnd == nullptr;
        g_bDetachedBeforePostNcDestroy = m_bDetachedFirst;
        delete this;
    }
    static bool g_bDetachedBeforePostNcDestroy;

private:
    bool* m_pbDeleted;
    bool m_bDetachedFirst = false;
};
bool CSelfDeletingWnd::g_bDetachedBeforePostNcDestroy = false;

TEST_F(MessageMapTest, HandleMapAdoptsAtCreationAndForgetsAtNcDestroy)
{
    bool bDeleted = false;
    auto* pWnd = new CSelfDeletingWnd(&bDeleted);
    ASSERT_TRUE(pWnd->CreateEx(0, nullptr, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    HWND hWnd = pWnd->m_hWnd;
    EXPECT_EQ(pWnd, CWnd::FromHandlePermanent(hWnd));

    ::DestroyWindow(hWnd);
    EXPECT_TRUE(bDeleted);
    EXPECT_TRUE(CSelfDeletingWnd::g_bDetachedBeforePostNcDestroy);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST_F(MessageMapTest, WindowsWithoutAnObjectGetTemporaryOnesUntilIdle)
{
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CWnd* pTemp = CWnd::FromHandle(hWnd);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(hWnd, pTemp->m_hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(hWnd)) << "a temporary object never destroys its window";
    {
        // An object naming the window without being bound to it, as a
        // temporary one dying in static destruction after the loop.
        CWnd stranger;
        stranger.m_hWnd = hWnd;
    }
    EXPECT_TRUE(::IsWindow(hWnd)) << "only the object bound to a window destroys it";
    ::DestroyWindow(hWnd);
}

TEST_F(MessageMapTest, SubclassedControlKeepsItsOwnBehaviourAndIsReleasedWithIt)
{
    CDerivedWnd parent;
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, reinterpret_cast<HMENU>(7),
                                   nullptr, nullptr);
    CWnd edit;
    ASSERT_TRUE(edit.SubclassDlgItem(7, &parent));
    EXPECT_EQ(hEdit, edit.m_hWnd);
    edit.SetWindowText("typed");
    CString strText;
    edit.GetWindowText(strText);
    EXPECT_STREQ("typed", strText);

    parent.DestroyWindow();
    EXPECT_EQ(nullptr, edit.m_hWnd) << "released at WM_NCDESTROY";
}

// A window whose creation fails is not made; one whose painting fails is
// not asked to paint again and again under the failure's report.
class CFailingCreate : public CWnd
{
protected:
    int OnCreate(LPCREATESTRUCT) { throw std::runtime_error("no room"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFailingCreate, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class CFailingPaint : public CWnd
{
public:
    int m_nPaints = 0;

protected:
    LRESULT OnPaint(WPARAM, LPARAM)
    {
        ++m_nPaints;
        throw std::runtime_error("no brush");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFailingPaint, CWnd)
    ON_MESSAGE(WM_PAINT, OnPaint)
END_MESSAGE_MAP()

TEST_F(MessageMapTest, AFailedCreationMakesNoWindowAndAFailedPaintIsNotRepeated)
{
    CMessageBoxRecorder boxes;
    CFailingCreate failingCreate;
    EXPECT_FALSE(failingCreate.CreateEx(0, nullptr, "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(nullptr, failingCreate.m_hWnd);
    EXPECT_TRUE(TakeQuitMessage()) << "the program ends";

    CFailingPaint failingPaint;
    ASSERT_TRUE(failingPaint.CreateEx(0, nullptr, "x", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
    ::UpdateWindow(failingPaint);
    RECT rcUpdate;
    const BOOL bLeft = ::GetUpdateRect(failingPaint, &rcUpdate, FALSE);
    EXPECT_FALSE(bLeft) << rcUpdate.left << "," << rcUpdate.top << "," << rcUpdate.right << "," << rcUpdate.bottom;
    PumpMessagesFor(200);
    EXPECT_EQ(1, failingPaint.m_nPaints);
    EXPECT_EQ(2u, boxes.Boxes().size());
    TakeQuitMessage();
}

// A child control that handles its own notifications when reflected.
class CReflectingChild : public CWnd
{
public:
    int m_nReflected = 0;

protected:
    void OnClickReflect(NMHDR*, LRESULT* pResult)
    {
        ++m_nReflected;
        *pResult = 42;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingChild, CWnd)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClickReflect)
END_MESSAGE_MAP()

class CNotifiedParent : public CWnd
{
public:
    CNotifiedParent() { CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr); }
    int m_nNotified = 0;

protected:
    void OnChildNotify(NMHDR*, LRESULT* pResult)
    {
        ++m_nNotified;
        *pResult = 7;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CNotifiedParent, CWnd)
    ON_NOTIFY(NM_CLICK, 5, OnChildNotify)
    ON_NOTIFY(NM_DBLCLK, 5, OnChildNotify)
END_MESSAGE_MAP()

TEST_F(MessageMapTest, NotificationsAreOfferedToTheChildFirst)
{
    CNotifiedParent parent;
    CReflectingChild child;
    ASSERT_TRUE(child.Create(nullptr, "", WS_CHILD, RECT{ 0, 0, 10, 10 }, &parent, 5));

    NMHDR hdr = { child.m_hWnd, 5, static_cast<UINT>(NM_CLICK) };
    EXPECT_EQ(42, parent.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&hdr)));
    EXPECT_EQ(1, child.m_nReflected);
    EXPECT_EQ(0, parent.m_nNotified);

    hdr.code = static_cast<UINT>(NM_DBLCLK);
    EXPECT_EQ(7, parent.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&hdr)));
    EXPECT_EQ(1, child.m_nReflected);
    EXPECT_EQ(1, parent.m_nNotified);
}

}   // namespace

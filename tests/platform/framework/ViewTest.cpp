// Views, form views, modeless dialogs and the thin controls with real
// windows: scrolling as the user does it, painting in logical coordinates,
// controls bound by data exchange, reflected notifications, dialog keys.
#include "platform/framework/afxwin.h"
#include "tests/platform/framework/FrameworkTestIds.h"
#include "tests/support/WindowCapture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

CWinApp theApp;
std::vector<std::string> g_log;

const COLORREF crMark = RGB(255, 0, 0);
const CRect rcMark(300, 0, 310, 20);   // logical coordinates

class CTestScrollView : public CScrollView
{
public:
    void OnDraw(CDC* pDC) override
    {
        CBrush brush(crMark);
        pDC->FillRect(rcMark, &brush);
    }
};

class CTestTree : public CTreeCtrl
{
protected:
    void OnSelChanged(NMHDR* pNMHDR, LRESULT*)
    {
        const auto* pNMTV = reinterpret_cast<NMTREEVIEWA*>(pNMHDR);
        g_log.push_back("selected " + std::to_string(pNMTV->itemNew.lParam));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestTree, CTreeCtrl)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelChanged)
END_MESSAGE_MAP()

class CTestForm : public CFormView
{
public:
    CTestTree m_tree;
    CTestForm() : CFormView(IDD_TESTFORM) {}
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_FORM_TREE, m_tree); }
};

// A frame of a given client size whose one view the factory makes.
CFrameWnd* MakeFrame(CDocument* pDoc, const CViewFactory& factory, int cx, int cy)
{
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = factory;
    RECT rc = { 0, 0, cx, cy };
    ::AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, FALSE, 0);
    auto* pFrame = new CFrameWnd;
    if (!pFrame->CreateEx(0, nullptr, "views", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, rc.right - rc.left,
                          rc.bottom - rc.top, nullptr, nullptr, &context)) {
        delete pFrame;
        return nullptr;
    }
    pFrame->m_bAutoDelete = TRUE;
    pFrame->InitialUpdateFrame(pDoc, FALSE);
    return pFrame;
}

int CALLBACK CompareBackwards(LPARAM lParam1, LPARAM lParam2, LPARAM)
{
    return static_cast<int>(lParam2 - lParam1);
}

class ViewTest : public testing::Test
{
protected:
    void TearDown() override
    {
        if (m_pFrame != nullptr)
            m_pFrame->DestroyWindow();
        g_log.clear();
    }

    CDocument m_doc;
    CFrameWnd* m_pFrame = nullptr;
};

TEST_F(ViewTest, ScrollBarsShowOnlyWhenNeededAndPositionsStayWithinTheLimits)
{
    m_pFrame = MakeFrame(&m_doc, &CreateObject<CTestScrollView>, 200, 150);
    ASSERT_NE(m_pFrame, nullptr);
    auto* pView = dynamic_cast<CScrollView*>(m_pFrame->GetActiveView());
    ASSERT_NE(pView, nullptr);

    pView->SetScrollSizes(MM_TEXT, CSize(1000, 100), CSize(100, 50), CSize(10, 5));
    EXPECT_TRUE(pView->GetStyle() & WS_HSCROLL);
    EXPECT_FALSE(pView->GetStyle() & WS_VSCROLL);
    EXPECT_EQ(pView->GetScrollLimit(SB_HORZ), 1000 - 200);

    UINT nWheelLines = 3;
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &nWheelLines, 0);
    struct Step
    {
        UINT message;
        WPARAM wParam;
        CPoint expected;
    };
    const Step steps[] = {
        { WM_HSCROLL, SB_LINEDOWN, CPoint(10, 0) },
        { WM_HSCROLL, SB_PAGEDOWN, CPoint(110, 0) },
        { WM_HSCROLL, SB_BOTTOM, CPoint(800, 0) },
        { WM_HSCROLL, SB_LINEDOWN, CPoint(800, 0) },
        { WM_HSCROLL, SB_PAGEUP, CPoint(700, 0) },
        { WM_HSCROLL, SB_TOP, CPoint(0, 0) },
        { WM_HSCROLL, SB_LINEUP, CPoint(0, 0) },
        // No vertical bar: the vertical request does nothing, the wheel
        // scrolls sideways.
        { WM_VSCROLL, SB_LINEDOWN, CPoint(0, 0) },
        { WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), CPoint(10 * static_cast<int>(nWheelLines), 0) },
    };
    for (const Step& step : steps) {
        pView->SendMessage(step.message, step.wParam, 0);
        EXPECT_EQ(pView->GetScrollPosition(), step.expected) << step.message << " " << step.wParam;
        EXPECT_EQ(pView->GetDeviceScrollPosition(), step.expected);
    }

    // Taller content: both bars, each narrowing the other's page.
    pView->SetScrollSizes(MM_TEXT, CSize(1000, 1000));
    EXPECT_TRUE(pView->GetStyle() & WS_VSCROLL);
    CRect rcClient;
    pView->GetClientRect(rcClient);
    EXPECT_EQ(rcClient.Size(), CSize(200 - ::GetSystemMetrics(SM_CXVSCROLL), 150 - ::GetSystemMetrics(SM_CYHSCROLL)));
    EXPECT_EQ(pView->GetScrollLimit(SB_VERT), 1000 - rcClient.Height());
    // Default amounts: a page is a tenth of the total, a line a tenth of that.
    pView->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    pView->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(pView->GetScrollPosition().y, 100 + 10);

    // Content that fits again: no bars and back at the origin.
    pView->SetScrollSizes(MM_TEXT, CSize(100, 100));
    EXPECT_FALSE(pView->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(pView->GetScrollPosition(), CPoint(0, 0));
    EXPECT_FALSE(pView->OnScrollBy(CSize(10, 10)));
}

TEST_F(ViewTest, DrawingIsInLogicalCoordinatesWhateverTheScrollPosition)
{
    m_pFrame = MakeFrame(&m_doc, &CreateObject<CTestScrollView>, 200, 150);
    ASSERT_NE(m_pFrame, nullptr);
    auto* pView = dynamic_cast<CScrollView*>(m_pFrame->GetActiveView());
    pView->SetScrollSizes(MM_TEXT, CSize(1000, 100));
    struct Case
    {
        int nScrollX;
        int x;
        bool bMarked;
    };
    for (const Case& c : { Case{ 0, 5, false }, Case{ 300, 5, true }, Case{ 300, 15, false }, Case{ 295, 10, true } }) {
        pView->ScrollToPosition(CPoint(c.nScrollX, 0));
        CWindowCapture capture(*pView);
        EXPECT_EQ(capture.PixelAt(c.x, 5) == crMark, c.bMarked) << c.nScrollX << " " << c.x;
    }
}

TEST_F(ViewTest, FormViewBindsItsControlsAtTheInitialUpdateAndTheyGetTheirNotifications)
{
    m_pFrame = MakeFrame(&m_doc, &CreateObject<CTestForm>, 300, 200);
    ASSERT_NE(m_pFrame, nullptr);
    auto* pForm = dynamic_cast<CTestForm*>(m_pFrame->GetActiveView());
    ASSERT_NE(pForm, nullptr);
    EXPECT_EQ(pForm->GetDocument(), &m_doc);
    EXPECT_EQ(pForm->GetDlgCtrlID(), AFX_IDW_PANE_FIRST);
    EXPECT_EQ(::GetParent(*pForm), m_pFrame->m_hWnd);
    CRect rcForm;
    pForm->GetClientRect(rcForm);
    EXPECT_EQ(rcForm.Width(), 300);

    CTreeCtrl& tree = pForm->m_tree;
    ASSERT_EQ(tree.m_hWnd, ::GetDlgItem(*pForm, IDC_FORM_TREE));
    EXPECT_EQ(CWnd::FromHandlePermanent(tree.m_hWnd), &tree);

    const auto insert = [&tree](HTREEITEM hParent, LPCSTR pszText, LPARAM lParam) {
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = hParent;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask = TVIF_TEXT | TVIF_PARAM;
        tvis.item.pszText = const_cast<LPSTR>(pszText);
        tvis.item.lParam = lParam;
        return tree.InsertItem(&tvis);
    };
    HTREEITEM hRoot = insert(TVI_ROOT, "root", 1);
    insert(hRoot, "a", 2);
    insert(hRoot, "b", 3);
    ASSERT_EQ(tree.GetRootItem(), hRoot);
    EXPECT_TRUE(tree.ItemHasChildren(hRoot));
    EXPECT_TRUE(tree.Expand(hRoot, TVE_EXPAND));

    // Sorted backwards by the callback: b before a.
    TVSORTCB sort = {};
    sort.hParent = hRoot;
    sort.lpfnCompare = &CompareBackwards;
    tree.SortChildrenCB(&sort);
    HTREEITEM hFirst = tree.GetChildItem(hRoot);
    EXPECT_EQ(tree.GetItemData(hFirst), 3u);
    EXPECT_EQ(tree.GetItemData(tree.GetNextSiblingItem(hFirst)), 2u);
    EXPECT_EQ(tree.GetNextSiblingItem(tree.GetNextSiblingItem(hFirst)), nullptr);

    // The selection change goes to the form and is handed back to the tree.
    tree.SelectItem(hFirst);
    EXPECT_EQ(tree.GetSelectedItem(), hFirst);
    EXPECT_EQ(g_log, std::vector<std::string>({ "selected 3" }));
    CRect rcItem;
    ASSERT_TRUE(tree.GetItemRect(hFirst, rcItem, TRUE));
    UINT nFlags = 0;
    EXPECT_EQ(tree.HitTest(CPoint(rcItem.left + 2, rcItem.top + 2), &nFlags), hFirst);
    EXPECT_TRUE(nFlags & TVHT_ONITEM);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

class CTestModeless : public CDialog
{
protected:
    void OnCancel() override
    {
        g_log.push_back("cancel");
        DestroyWindow();
    }
};

// The application's loop: dialog keys are taken before translation.
void PumpLikeTheApplication()
{
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (!theApp.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

TEST_F(ViewTest, ModelessDialogMovesWithTabAndClosesWithEscape)
{
    CTestModeless dlg;
    ASSERT_TRUE(dlg.Create(IDD_TESTMODELESS));
    HWND hFirst = ::GetDlgItem(dlg, IDC_MODELESS_FIRST);
    HWND hSecond = ::GetDlgItem(dlg, IDC_MODELESS_SECOND);
    // Other test programs share the desktop: take the foreground first, so
    // that the focus set below stays with this dialog.
    ::SetForegroundWindow(dlg);
    ::SetFocus(hFirst);
    ASSERT_EQ(::GetFocus(), hFirst);

    ::PostMessageA(hFirst, WM_KEYDOWN, VK_TAB, 0);
    PumpLikeTheApplication();
    EXPECT_EQ(::GetFocus(), hSecond);

    ::PostMessageA(hSecond, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpLikeTheApplication();
    EXPECT_EQ(g_log, std::vector<std::string>({ "cancel" }));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// A modal dialog over a modeless one: what both dialogs' owners look like
// while it is up.
class CModalOverModeless : public CDialog
{
public:
    explicit CModalOverModeless(CWnd* pParent) : CDialog(IDD_TESTMODELESS, pParent) {}
    BOOL m_bMainEnabled = TRUE;
    BOOL m_bModelessEnabled = TRUE;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_bMainEnabled = AfxGetMainWnd()->IsWindowEnabled();
        m_bModelessEnabled = m_pParentWnd->IsWindowEnabled();
        EndDialog(IDOK);
        return TRUE;
    }
};

TEST_F(ViewTest, AModalDialogOverAModelessOneKeepsTheMainWindowDisabled)
{
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    theApp.m_pMainWnd = &main;
    CTestModeless modeless;
    ASSERT_TRUE(modeless.Create(IDD_TESTMODELESS, &main));
    CModalOverModeless dlg(&modeless);
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(dlg.m_bModelessEnabled) << "the dialog's owner";
    EXPECT_FALSE(dlg.m_bMainEnabled) << "the main window";
    EXPECT_TRUE(modeless.IsWindowEnabled());
    EXPECT_TRUE(main.IsWindowEnabled()) << "enabled again when the dialog ends";
    modeless.DestroyWindow();
    theApp.m_pMainWnd = nullptr;
}

TEST(Controls, ImageListAndProgressBar)
{
    CImageList images;
    ASSERT_TRUE(images.Attach(ImageList_Create(24, 16, ILC_COLOR24 | ILC_MASK, 0, 4)));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap("INSU"));
    EXPECT_EQ(images.Add(&bitmap, RGB(255, 255, 255)), 0);
    EXPECT_EQ(images.Add(&bitmap, RGB(255, 255, 255)), 1);
    EXPECT_EQ(images.GetImageCount(), 2);
    // Detached, the list outlives the object.
    HIMAGELIST hList = images.Detach();
    EXPECT_EQ(images.GetSafeHandle(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(hList), 2);
    ImageList_Destroy(hList);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.CreateEx(0, PROGRESS_CLASSA, nullptr, WS_POPUP, 0, 0, 100, 20, nullptr, nullptr));
    progress.SetRange(0, 100);
    progress.SetStep(10);
    EXPECT_EQ(progress.SetPos(30), 0);
    EXPECT_EQ(progress.SetPos(40), 30);
    EXPECT_EQ(progress.GetPos(), 40);
    progress.SetRange32(0, 100000);
    progress.SetPos(70000);
    EXPECT_EQ(progress.GetPos(), 70000);
    progress.DestroyWindow();
}

}   // namespace

#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

CDocTemplate::CDocTemplate(UINT nIDResource) : m_nIDResource(nIDResource)
{
    m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    int nStart = 0;
    for (int i = 0; i < index; ++i) {
        const int nNewLine = m_strDocStrings.Find('\n', nStart);
        if (nNewLine < 0)
            return FALSE;
        nStart = nNewLine + 1;
    }
    const int nEnd = m_strDocStrings.Find('\n', nStart);
    rString = nEnd < 0 ? m_strDocStrings.Mid(nStart) : m_strDocStrings.Mid(nStart, nEnd - nStart);
    return !rString.IsEmpty();
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CDocumentFactory pDocClass, CFrameFactory pFrameClass,
                                       CViewFactory pViewClass)
    : CDocTemplate(nIDResource), m_pDocClass(std::move(pDocClass)), m_pFrameClass(std::move(pFrameClass)),
      m_pViewClass(std::move(pViewClass))
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    // A frame still open loses its document: close it first.
    if (CFrameWnd* pFrame = FrameOf(m_pOnlyDoc.get()))
        pFrame->DestroyWindow();
}

CFrameWnd* CSingleDocTemplate::FrameOf(CDocument* pDoc) const
{
    if (pDoc == nullptr || pDoc->GetViews().empty())
        return nullptr;
    return pDoc->GetViews().front()->GetParentFrame();
}

CFrameWnd* CSingleDocTemplate::CreateNewFrame(CDocument* pDoc)
{
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    // The window takes the frame over once it exists.
    std::unique_ptr<CFrameWnd> pFrame(m_pFrameClass());
    if (!pFrame || !pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    pFrame->m_bAutoDelete = TRUE;
    return pFrame.release();
}

void CSingleDocTemplate::DiscardNewFrame(CFrameWnd* pFrame)
{
    // A frame that never became the program's window does not end it.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == pFrame)
        pApp->m_pMainWnd = nullptr;
    pFrame->DestroyWindow();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    const bool bNewDoc = !m_pOnlyDoc;
    if (bNewDoc) {
        m_pOnlyDoc.reset(m_pDocClass());
        if (!m_pOnlyDoc)
            return nullptr;
        m_pOnlyDoc->m_pDocTemplate = this;
    }
    CDocument* pDoc = m_pOnlyDoc.get();
    CFrameWnd* pFrame = FrameOf(pDoc);
    const bool bNewFrame = pFrame == nullptr;
    if (bNewFrame && (pFrame = CreateNewFrame(pDoc)) == nullptr) {
        if (bNewDoc)
            m_pOnlyDoc.reset();
        return nullptr;
    }
    // The frame is the main window before the document's own step runs, so
    // the document can reach it (for its caption) through AfxGetMainWnd.
    CWinApp* pApp = AfxGetApp();
    if (bNewFrame && pApp != nullptr && pApp->m_pMainWnd == nullptr)
        pApp->m_pMainWnd = pFrame;

    BOOL bDone;
    if (lpszPathName == nullptr) {
        CString strTitle;
        if (!GetDocString(strTitle, fileNewName))
            strTitle = "Untitled";
        pDoc->SetTitle(strTitle);
        bDone = pDoc->OnNewDocument();
    } else {
        bDone = pDoc->OnOpenDocument(lpszPathName);
        if (bDone)
            pDoc->SetPathName(lpszPathName);
    }
    if (!bDone) {
        if (bNewFrame)
            DiscardNewFrame(pFrame);
        if (bNewDoc)
            m_pOnlyDoc.reset();
        return nullptr;
    }
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}

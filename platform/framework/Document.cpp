#include "platform/framework/Document.h"
#include "platform/framework/Frame.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/View.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
END_MESSAGE_MAP()

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    HANDLE hFile = ::CreateFileA(lpszPathName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(hFile);
    DeleteContents();
    CArchive ar(CArchive::load);
    Serialize(ar);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCSTR)
{
    CArchive ar(CArchive::store);
    Serialize(ar);
    return TRUE;
}

void CDocument::OnFileSave()
{
    OnSaveDocument(m_strPathName);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle;
    for (CView* pView : m_viewList) {
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(LPCSTR lpszPathName)
{
    m_strPathName = lpszPathName;
    // Walk by characters: a double-byte character may end in a backslash byte.
    LPCSTR pszName = m_strPathName;
    for (LPCSTR psz = pszName; *psz != '\0'; psz = ::CharNextA(psz)) {
        if (*psz == '\\' || *psz == '/' || *psz == ':')
            pszName = psz + 1;
    }
    SetTitle(pszName);
}

void CDocument::AddView(CView* pView)
{
    if (std::find(m_viewList.begin(), m_viewList.end(), pView) == m_viewList.end())
        m_viewList.push_back(pView);
}

void CDocument::RemoveView(CView* pView)
{
    m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), pView), m_viewList.end());
}

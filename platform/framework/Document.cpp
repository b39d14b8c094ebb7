#include "platform/framework/Document.h"

#include <algorithm>

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
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

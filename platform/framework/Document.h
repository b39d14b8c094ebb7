// CDocument: the data of a document/view application, shown by its views.
#pragma once

#include "platform/framework/CmdTarget.h"
#include "platform/framework/CString.h"

#include <vector>

class CView;

// The storing or loading side of CDocument::Serialize.
class CArchive
{
public:
    enum Mode { store = 0, load = 1 };
    explicit CArchive(Mode nMode) : m_nMode(nMode) {}
    BOOL IsStoring() const { return m_nMode == store; }
    BOOL IsLoading() const { return m_nMode == load; }

private:
    Mode m_nMode;
};

class CDocument : public CCmdTarget
{
public:
    // Prepares the document for new contents; FALSE stops the new-file step.
    virtual BOOL OnNewDocument();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive&) {}

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    const CString& GetPathName() const { return m_strPathName; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_viewList; }

protected:
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;
};

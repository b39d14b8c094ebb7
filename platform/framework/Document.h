// CDocument: the data of a document/view application, shown by its views.
#pragma once

#include "platform/framework/CmdTarget.h"
#include "platform/framework/CString.h"

#include <vector>

class CDocTemplate;
class CView;

// The storing or loading side of CDocument::Serialize.
class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1
    };
    explicit CArchive(Mode nMode) : m_nMode(nMode) {}
    BOOL IsStoring() const { return m_nMode == store; }
    BOOL IsLoading() const { return m_nMode == load; }

private:
    Mode m_nMode;
};

class CDocument : public CCmdTarget
{
public:
    CDocTemplate* m_pDocTemplate = nullptr;   // the template that made it

    // Prepares the document for new contents; FALSE stops the new-file step.
    virtual BOOL OnNewDocument();
    // Loads the document from lpszPathName; FALSE (the file cannot be
    // read) stops the open-file step.
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    // Stores the document. There are no archives here: the data of a
    // document lives elsewhere, so nothing is written and, above all, an
    // existing file is never replaced by an empty one.
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive&) {}

    const CString& GetTitle() const { return m_strTitle; }
    // Also brings the titles of the frames showing the document up to date.
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The title becomes the file's name without its folder.
    virtual void SetPathName(LPCSTR lpszPathName);

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_viewList; }

protected:
    void OnFileSave();

    CString m_strTitle;
    CString m_strPathName;
    std::vector<CView*> m_viewList;

    DECLARE_MESSAGE_MAP()
};

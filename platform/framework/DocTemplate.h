// CSingleDocTemplate: ties the one document of the program to its frame
// and view, all made by factory functions, and runs the new-file and
// open-file steps on that single document. CCommandLineInfo: what the
// program was asked to do at start-up.
#pragma once

#include "platform/framework/CString.h"
#include "platform/framework/Frame.h"

#include <functional>
#include <memory>

class CDocument;

using CDocumentFactory = std::function<CDocument*()>;
using CFrameFactory = std::function<CFrameWnd*()>;

// The factory of a class with a default constructor, for templates,
// frames and splitters: &CreateObject<CMyView>.
template <class T> T* CreateObject()
{
    return new T;
}

class CDocTemplate
{
public:
    // The parts of the document string (string nIDResource, parts
    // separated by new-lines).
    enum DocStringIndex
    {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };

    virtual ~CDocTemplate() = default;
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    BOOL GetDocString(CString& rString, DocStringIndex index) const;
    UINT GetResourceID() const { return m_nIDResource; }

protected:
    explicit CDocTemplate(UINT nIDResource);

    UINT m_nIDResource;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate
{
public:
    CSingleDocTemplate(UINT nIDResource, CDocumentFactory pDocClass, CFrameFactory pFrameClass,
                       CViewFactory pViewClass);
    ~CSingleDocTemplate() override;

    // Without a path: the new-file step (OnNewDocument); with one: the
    // open-file step (OnOpenDocument). The first call makes the document
    // and its frame from nIDResource and makes the frame the main window;
    // later calls re-initialise the same document and views. Null when a
    // step fails.
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    CDocument* GetOnlyDocument() const { return m_pOnlyDoc.get(); }

private:
    CFrameWnd* CreateNewFrame(CDocument* pDoc);
    CFrameWnd* FrameOf(CDocument* pDoc) const;
    void DiscardNewFrame(CFrameWnd* pFrame);

    CDocumentFactory m_pDocClass;
    CFrameFactory m_pFrameClass;
    CViewFactory m_pViewClass;
    std::unique_ptr<CDocument> m_pOnlyDoc;
};

class CCommandLineInfo
{
public:
    enum ShellCommand
    {
        FileNew,
        FileOpen,
        FileNothing
    };

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};

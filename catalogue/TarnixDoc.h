// The document: the catalogue of installable content files found in the
// content folder, with their tick states, and the path slots from the
// command line. It handles the tick-all, untick-all, install and refresh
// commands.
#pragma once

#include "catalogue/ContentEntry.h"
#include "catalogue/PathSlots.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/Document.h"
#include "platform/framework/Gdi.h"
#include "platform/framework/Wnd.h"

class CEntryBlocks;
class CFolderQueue;

class CTarnixDoc : public CDocument
{
public:
    CTarnixDoc();
    ~CTarnixDoc() override;

    void Serialize(CArchive& ar) override;
    BOOL OnNewDocument() override;

    // Rebuilds the catalogue from the content folder (path slot
    // m_nPathIndex). pszExt is the lower-case extension with its dot, four
    // characters. FALSE when the folder path is empty or memory ran out.
    BOOL ScanContent(LPCSTR pszExt);
    // Decides whether the file named by the entry's szPath is installable
    // content; if so fills its szTitle and nSize.
    static BOOL ReadEntryInfo(ContentEntry& entry);
    void UpdateTitle(int nPathIndex);

    CString m_strPaths[PATH_SLOT_COUNT];
    CWnd* m_pListView = nullptr;
    CWnd* m_pDestPane = nullptr;
    ContentEntry* m_pEntries = nullptr;
    int m_nEntries = 0;
    int m_nRowHeight = 20;
    CBrush m_brHeader;
    int m_nPathIndex = 0;

protected:
    void OnSelect(UINT nID);
    void OnInstall();
    void OnUpdateInstall(CCmdUI* pCmdUI);
    void OnRefresh();
    DECLARE_MESSAGE_MAP()

private:
    void ReleaseCatalogue();
    // Lists one folder: queues its subfolders and appends its accepted
    // files. FALSE when memory ran out.
    BOOL ScanFolder(const char* pszFolder, LPCSTR pszExt, CFolderQueue& queue, CEntryBlocks& blocks);
    // Gathers the collected entries into m_pEntries, one block of exactly
    // as many entries, sorts them by title and only then sets m_nEntries.
    // FALSE when memory ran out; no entries need no memory.
    BOOL PublishCatalogue(const CEntryBlocks& blocks);
};

// The catalogue scan of CTarnixDoc: a breadth-first walk of the content
// folder tree that keeps every ".kda" file whose header names dictionary
// content.
#include "catalogue/EntryBlocks.h"
#include "catalogue/EntrySort.h"
#include "catalogue/FolderQueue.h"
#include "catalogue/GlobalBlock.h"
#include "catalogue/TarnixDoc.h"
#include "catalogue/WaitDlg.h"
#include "content/ContentHeader.h"
#include "platform/HandleOwner.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

#include <cstdio>
#include <cstring>
#include <io.h>

namespace {

// A C runtime directory listing, closed when it goes out of scope.
struct CrtFindTraits
{
    using Handle = intptr_t;
    static Handle None() { return -1; }
    static bool Release(Handle h) { return _findclose(h) == 0; }
};
using CFindHandle = CHandleOwner<CrtFindTraits>;

// Closes a C runtime stream when it goes out of scope.
class CFileStream
{
public:
    CFileStream(const char* pszPath, const char* pszMode) : m_pFile(std::fopen(pszPath, pszMode)) {}
    CFileStream(const CFileStream&) = delete;
    CFileStream& operator=(const CFileStream&) = delete;
    ~CFileStream()
    {
        if (m_pFile != nullptr)
            std::fclose(m_pFile);
    }
    FILE* Get() const { return m_pFile; }

private:
    FILE* m_pFile;
};

// Whether a path ends in a backslash of its own, not in a double-byte
// character whose trail byte looks like one.
bool EndsWithBackslash(const char* pszPath)
{
    const char* pszLast = AfxFindLastChar(pszPath, '\\');
    return pszLast != nullptr && pszLast[1] == '\0';
}

// TRUE when the last four characters of the name, lower-cased, are pszExt.
bool HasExtension(const char* pszName, LPCSTR pszExt)
{
    const size_t cchName = std::strlen(pszName);
    char szTail[8] = {};
    std::strncpy(szTail, pszName + (cchName > 4 ? cchName - 4 : 0), 4);
    AfxLowerMultibyte(szTail);
    return AfxCompareMultibyte(szTail, pszExt) == 0;
}

// folder + name into a buffer of cbBuffer bytes; false (and nothing
// written) when it does not fit, so a long path is skipped rather than cut
// into a different one.
bool JoinPath(char* pszBuffer, size_t cbBuffer, const char* pszFolder, const char* pszName)
{
    const size_t cchFolder = std::strlen(pszFolder);
    const size_t cchName = std::strlen(pszName);
    if (cchFolder + cchName >= cbBuffer)
        return false;
    std::memcpy(pszBuffer, pszFolder, cchFolder);
    std::memcpy(pszBuffer + cchFolder, pszName, cchName + 1);
    return true;
}

// The length of an open file, or -1 when it cannot be told or does not
// fit 32 bits unsigned.
long long FileLength32(FILE* pFile)
{
    if (_fseeki64(pFile, 0, SEEK_END) != 0)
        return -1;
    const long long nLength = _ftelli64(pFile);
    return nLength >= 0 && nLength <= 0xFFFFFFFFLL ? nLength : -1;
}

}   // namespace

BOOL CTarnixDoc::ReadEntryInfo(ContentEntry& entry)
{
    CFileStream file(entry.szPath, "rb");
    if (file.Get() == nullptr)
        return FALSE;
    ContentHeader header;
    std::fseek(file.Get(), 0, SEEK_SET);
    ReadContentHeader(file.Get(), &header);
    if (!IsInstallableContent(header))
        return FALSE;
    const long long nLength = FileLength32(file.Get());
    if (nLength < 0)
        return FALSE;
    CopyContentTitle(header, entry.szTitle);
    entry.nSize = static_cast<int>(static_cast<unsigned>(nLength));
    return TRUE;
}

BOOL CTarnixDoc::PublishCatalogue(const CEntryBlocks& blocks)
{
    const int nEntries = blocks.GetCount();
    if (nEntries == 0)
        return TRUE;
    m_pEntries = static_cast<ContentEntry*>(AllocZeroedBlock(nEntries * sizeof(ContentEntry)));
    CBlockArray<TitleKey> keys;
    if (m_pEntries == nullptr || !keys.Grow(0, nEntries))
        return FALSE;
    blocks.Gather(m_pEntries, keys.Get());
    if (!SortEntriesByTitle(m_pEntries, keys.Get(), nEntries))
        return FALSE;
    m_nEntries = nEntries;
    return TRUE;
}

BOOL CTarnixDoc::ScanFolder(const char* pszFolder, LPCSTR pszExt, CFolderQueue& queue, CEntryBlocks& blocks)
{
    char szPattern[CFolderQueue::SLOT_BYTES + 2];
    if (!JoinPath(szPattern, sizeof(szPattern), pszFolder, "*"))
        return TRUE;
    _finddata_t found;
    CFindHandle find(_findfirst(szPattern, &found));
    if (!find.IsValid())
        return TRUE;

    // One record serves every candidate file of the scan.
    ContentEntry entry;
    do {
        if (found.attrib & _A_SUBDIR) {
            // "." and ".." and every other dot-folder are left out.
            if (found.name[0] == '.')
                continue;
            char szSubfolder[CFolderQueue::SLOT_BYTES];
            if (!JoinPath(szSubfolder, sizeof(szSubfolder), pszFolder, found.name))
                continue;
            if (!queue.Push(szSubfolder))
                return FALSE;
            continue;
        }
        if (!HasExtension(found.name, pszExt))
            continue;
        std::memset(&entry, 0, sizeof(entry));
        if (std::strlen(found.name) >= sizeof(entry.szFileName)
            || !JoinPath(entry.szPath, sizeof(entry.szPath), pszFolder, found.name))
            continue;
        std::strcpy(entry.szFileName, found.name);
        if (ReadEntryInfo(entry) && !blocks.Append(entry))
            return FALSE;
    } while (_findnext(find.Get(), &found) == 0);
    return TRUE;
}

BOOL CTarnixDoc::ScanContent(LPCSTR pszExt)
{
    const CString& strStart = m_strPaths[m_nPathIndex];
    if (strStart.IsEmpty())
        return FALSE;
    CFolderQueue queue;
    if (!queue.Allocate())
        return FALSE;
    CWaitDlg waitNotice(IDS_PLEASE_WAIT, m_pListView);

    ReleaseCatalogue();
    CEntryBlocks blocks;
    BOOL bScanned = TRUE;
    // A start folder too long for a queue slot cannot be listed whole; it
    // gives an empty catalogue rather than a shortened, different folder.
    if (strStart.GetLength() < CFolderQueue::SLOT_BYTES)
        queue.Push(strStart);

    char szFolder[CFolderQueue::SLOT_BYTES + 1] = {};
    while (bScanned && queue.Pop(szFolder)) {
        const size_t cch = std::strlen(szFolder);
        if (!EndsWithBackslash(szFolder)) {
            szFolder[cch] = '\\';
            szFolder[cch + 1] = '\0';
        }
        bScanned = ScanFolder(szFolder, pszExt, queue, blocks);
    }
    if (bScanned)
        bScanned = PublishCatalogue(blocks);
    if (!bScanned) {
        AfxMessageBox(IDS_OUT_OF_MEMORY, MB_OK);
        ReleaseCatalogue();
    }
    waitNotice.DestroyWindow();
    return bScanned;
}

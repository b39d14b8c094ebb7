#include "install/InstallRun.h"

#include "install/HandheldDestination.h"
#include "install/LocalDestination.h"
#include "platform/framework/WinApp.h"
#include "res/resource.h"

#include <share.h>

namespace {

// One chunk: what is read and written at a time, through one buffer, and
// one step of the progress bar.
constexpr DWORD CHUNK_BYTES = 65536;

// The number of chunks of a file of nSize bytes (read as unsigned 32 bits).
int ChunkCount(int nSize)
{
    return static_cast<int>((static_cast<ULONGLONG>(static_cast<unsigned>(nSize)) + CHUNK_BYTES - 1) / CHUNK_BYTES);
}

}   // namespace

CInstallRun::CInstallRun(const InstallTarget& target, CWnd* pProgressParent, int nTicked)
    : m_target(target), m_pProgressParent(pProgressParent), m_nTicked(nTicked), m_buffer(CHUNK_BYTES)
{
    m_strQuestion.LoadString(IDS_INSTALL_GO_ON);
}

int CInstallRun::CopyAll(const std::vector<ContentEntry>& entries)
{
    for (const ContentEntry& entry : entries) {
        if (!GoesOnAfterFile())
            break;
        CopyEntry(entry);
    }
    // A Cancel clicked after the last file's last check: nothing is left
    // to stop, but the run was cancelled all the same.
    GoesOnAfterFile();
    m_monitor.End(1);
    return m_nResult;
}

bool CInstallRun::GoesOnAfterFile()
{
    m_monitor.TakeInput();
    return GoesOn();
}

bool CInstallRun::GoesOn()
{
    if (m_nResult == INSTALL_DONE && m_monitor.IsCancelled())
        m_nResult = INSTALL_CANCELLED;
    return m_nResult == INSTALL_DONE;
}

void CInstallRun::ReportFailure(UINT nIDFailure, const std::string& strPath)
{
    CString strText;
    strText.LoadString(nIDFailure);
    strText += "\n";
    strText += strPath.c_str();
    strText += "\n";
    const bool bMoreFollow = m_nOrdinal < m_nTicked;
    if (bMoreFollow)
        strText += m_strQuestion;
    if (AfxMessageBox(strText, (bMoreFollow ? MB_OKCANCEL : MB_OK) | MB_ICONEXCLAMATION) == IDCANCEL)
        m_nResult = INSTALL_STOPPED;
}

void CInstallRun::BeginProgress(const ContentEntry& entry)
{
    CString strCaption;
    if (m_nTicked > 1)
        strCaption.Format("Coping %s (%d/%d)", entry.szFileName, m_nOrdinal, m_nTicked);
    else
        strCaption.Format("Coping %s", entry.szFileName);
    m_monitor.Begin(strCaption, m_pProgressParent, ChunkCount(entry.nSize));
}

BOOL CInstallRun::RestoreLink()
{
    if (m_target.pSession == nullptr || !m_target.pSession->IsLinkDown())
        return TRUE;
    if (m_target.pSession->Open(TRUE))
        return TRUE;
    m_nResult = INSTALL_STOPPED;
    return FALSE;
}

std::unique_ptr<CDestinationFile> CInstallRun::CreateDestination(const ContentEntry& entry)
{
    if (m_target.pSession != nullptr)
        return CHandheldDestination::Open(m_target.strDeviceFolder.c_str(), entry.szFileName, *m_target.pSession);
    return CLocalDestination::Open(m_target.strFolder + entry.szFileName);
}

std::unique_ptr<CDestinationFile> CInstallRun::OpenDestination(const ContentEntry& entry)
{
    // After a broken link every call fails: no file is tried, and no
    // failure blamed on it, before the handheld answers again.
    if (!RestoreLink())
        return nullptr;
    std::unique_ptr<CDestinationFile> pDestination = CreateDestination(entry);
    if (pDestination == nullptr && m_target.pSession != nullptr && m_target.pSession->IsLinkDown()) {
        // The link broke since the last file: this one is tried once more.
        if (!RestoreLink())
            return nullptr;
        pDestination = CreateDestination(entry);
    }
    if (pDestination == nullptr)
        ReportFailure(IDS_INSTALL_CANNOT_WRITE, m_target.strFolder + entry.szFileName);
    return pDestination;
}

void CInstallRun::DeleteUnfinished(const ContentEntry& entry, CDestinationFile& destination)
{
    if (destination.Delete())
        return;
    CString strText;
    strText.LoadString(IDS_INSTALL_LEFT_PARTIAL);
    strText += "\n";
    if (m_target.pSession != nullptr) {
        // Where the destination pane's label would show it.
        CString strDevice;
        strDevice.LoadString(IDS_DEVICE_NAME);
        strText += strDevice + ":";
    }
    strText += (m_target.strFolder + entry.szFileName).c_str();
    AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
}

void CInstallRun::CopyEntry(const ContentEntry& entry)
{
    ++m_nOrdinal;
    // Nobody writes the source while it is copied, and so no copy onto
    // itself can empty it: that destination cannot be opened.
    CStdioFile source(_fsopen(entry.szPath, "rb", _SH_DENYWR));
    if (!source.IsValid()) {
        ReportFailure(IDS_INSTALL_CANNOT_READ, entry.szPath);
        return;
    }
    BeginProgress(entry);
    // A Cancel the dialog took as it was set back for this file: the file
    // is not begun.
    if (!GoesOn())
        return;
    std::unique_ptr<CDestinationFile> pDestination = OpenDestination(entry);
    if (pDestination == nullptr)
        return;
    CopyChunks(entry, source.Get(), *pDestination);
    // A cancelled file, or one the user stopped at after a failed write,
    // does not stay half there.
    if (m_nResult <= INSTALL_CANCELLED)
        DeleteUnfinished(entry, *pDestination);
}

void CInstallRun::CopyChunks(const ContentEntry& entry, std::FILE* pSource, CDestinationFile& destination)
{
    for (int nChunk = 0;; ++nChunk) {
        const DWORD cbRead = static_cast<DWORD>(std::fread(m_buffer.data(), 1, CHUNK_BYTES, pSource));
        // A source that cannot be read to its end is no complete copy.
        if (cbRead < CHUNK_BYTES && std::ferror(pSource)) {
            WriteFailed(entry, destination);
            return;
        }
        if (cbRead == 0)
            break;
        if (destination.Write(m_buffer.data(), cbRead) != cbRead) {
            WriteFailed(entry, destination);
            return;
        }
        if (m_monitor.IsCancelled()) {
            m_nResult = INSTALL_CANCELLED;
            destination.Close();
            return;
        }
        m_monitor.Step(nChunk);
    }
    if (!destination.Close())
        WriteFailed(entry, destination);
}

void CInstallRun::WriteFailed(const ContentEntry& entry, CDestinationFile& destination)
{
    destination.Close();
    // The user has said stop already: the file goes, and nobody is asked
    // whether to go on.
    if (m_monitor.IsCancelled()) {
        m_nResult = INSTALL_CANCELLED;
        return;
    }
    ReportFailure(IDS_INSTALL_WRITE_FAILED, entry.szPath);
}

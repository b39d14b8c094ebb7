// One installation run's copy loop: every ticked entry in turn, from its
// source file to a file of the same name in the destination folder, in
// 64 KiB chunks under the progress dialog, with the user asked after each
// failure whether to go on.
#pragma once

#include "catalogue/ContentEntry.h"
#include "install/DestinationFile.h"
#include "install/HandheldSession.h"
#include "install/ProgressMonitor.h"
#include "platform/StdioFile.h"

#include <memory>
#include <string>
#include <vector>

// Result codes of a run.
constexpr int INSTALL_DONE = 1;
constexpr int INSTALL_CANCELLED = 0;
constexpr int INSTALL_STOPPED = -1;

// Where a run copies to: a local folder (its path) or a handheld folder
// (its device path and the session of the run, with the ANSI form of the
// path for messages).
struct InstallTarget
{
    std::string strFolder;                  // with its trailing backslash
    std::wstring strDeviceFolder;           // handheld only
    CHandheldSession* pSession = nullptr;   // handheld only
};

class CInstallRun
{
public:
    CInstallRun(const InstallTarget& target, CWnd* pProgressParent, int nTicked);

    // Copies the entries in turn; returns the result code. The progress
    // dialog is gone when it returns.
    int CopyAll(const std::vector<ContentEntry>& entries);

private:
    // Whether the run goes on to what comes next; a Cancel the user asked
    // for, wherever the dialog took it, ends it here.
    bool GoesOn();
    // The same between two files, once the user's waiting input is taken.
    bool GoesOnAfterFile();
    void CopyEntry(const ContentEntry& entry);
    // Copies the open source into the open destination chunk by chunk.
    void CopyChunks(const ContentEntry& entry, std::FILE* pSource, CDestinationFile& destination);
    // A write that failed, or a source that could not be read to its end:
    // after a Cancel the user is asked nothing more.
    void WriteFailed(const ContentEntry& entry, CDestinationFile& destination);
    std::unique_ptr<CDestinationFile> OpenDestination(const ContentEntry& entry);
    std::unique_ptr<CDestinationFile> CreateDestination(const ContentEntry& entry);
    // Opens the handheld's session anew when its link broke; FALSE (the
    // user told why, the run stopped) when the handheld does not answer.
    BOOL RestoreLink();
    // Takes away a file the run leaves unfinished; tells the user where it
    // stays when it cannot.
    void DeleteUnfinished(const ContentEntry& entry, CDestinationFile& destination);
    void BeginProgress(const ContentEntry& entry);
    // Tells the user that nIDFailure happened to strPath and, while more
    // ticked entries follow, asks whether to go on; Cancel stops the run.
    void ReportFailure(UINT nIDFailure, const std::string& strPath);

    const InstallTarget& m_target;
    CWnd* m_pProgressParent;
    int m_nTicked;
    int m_nOrdinal = 0;
    int m_nResult = INSTALL_DONE;
    CString m_strQuestion;
    CProgressMonitor m_monitor;
    std::vector<BYTE> m_buffer;
};

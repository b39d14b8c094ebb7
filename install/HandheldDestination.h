// A destination file on the handheld, written through the device link. Its
// name is the content file's name read in code page 950, the handheld's.
#pragma once

#include "install/DestinationFile.h"
#include "install/HandheldSession.h"

#include <memory>
#include <string>

class CHandheldDestination : public CDestinationFile
{
public:
    // Creates the file in the handheld folder pszFolder (its device path)
    // or empties an existing one; null when the name cannot be read in
    // code page 950, the path is longer than the remote API takes, or the
    // handheld refuses.
    static std::unique_ptr<CHandheldDestination> Open(LPCWSTR pszFolder, const char* pszFileName,
                                                      CHandheldSession& session);
    ~CHandheldDestination() override;

    DWORD Write(const BYTE* pData, DWORD cb) override;
    BOOL Close() override;
    // A file taken away after the link broke is taken away in a session
    // opened anew.
    BOOL Delete() override;

private:
    BOOL DeleteRemote();
    // Whether the handheld lists the file (or cannot tell): a delete it
    // refused may have found nothing to delete.
    BOOL IsListed();

    CHandheldDestination(const std::wstring& strPath, HANDLE hFile, CHandheldSession& session)
        : m_strPath(strPath), m_hFile(hFile), m_session(session)
    {
    }

    std::wstring m_strPath;
    HANDLE m_hFile;
    CHandheldSession& m_session;
};

// The handheld path of a file named pszFileName (in the content's code page
// 950) in the folder pszFolder; empty when the name is not Big5 text, is
// longer than a file name on the handheld, or the whole path would be
// longer than the remote API takes.
std::wstring HandheldFilePath(LPCWSTR pszFolder, const char* pszFileName);

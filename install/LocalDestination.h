// A destination file on a local drive, written through a buffered stream.
#pragma once

#include "install/DestinationFile.h"
#include "platform/StdioFile.h"

#include <memory>
#include <string>

class CLocalDestination : public CDestinationFile
{
public:
    // Creates the file or empties an existing one; null when it cannot be
    // opened for writing.
    static std::unique_ptr<CLocalDestination> Open(const std::string& strPath);

    DWORD Write(const BYTE* pData, DWORD cb) override;
    BOOL Close() override;
    BOOL Delete() override;

private:
    CLocalDestination(const std::string& strPath, std::FILE* pFile) : m_strPath(strPath), m_file(pFile) {}

    std::string m_strPath;
    CStdioFile m_file;
};

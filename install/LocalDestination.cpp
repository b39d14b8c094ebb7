#include "install/LocalDestination.h"

std::unique_ptr<CLocalDestination> CLocalDestination::Open(const std::string& strPath)
{
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr)
        return nullptr;
    return std::unique_ptr<CLocalDestination>(new CLocalDestination(strPath, pFile));
}

DWORD CLocalDestination::Write(const BYTE* pData, DWORD cb)
{
    return static_cast<DWORD>(std::fwrite(pData, 1, cb, m_file.Get()));
}

BOOL CLocalDestination::Close()
{
    // A full disk may show only now, when the stream writes its last bytes.
    return m_file.Release();
}

BOOL CLocalDestination::Delete()
{
    m_file.Release();
    return ::DeleteFileA(m_strPath.c_str()) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

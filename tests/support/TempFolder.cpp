#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <memory>

namespace {

std::string TempPath()
{
    char szPath[MAX_PATH];
    DWORD cch = GetTempPathA(sizeof(szPath), szPath);
    return std::string(szPath, cch);
}

// Multibyte-aware: in code page 950 a trail byte can be a backslash.
size_t LastBackslash(const std::string& strPath)
{
    size_t iSlash = std::string::npos;
    for (size_t i = 0; i < strPath.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(strPath[i])))
            ++i;
        else if (strPath[i] == '\\')
            iSlash = i;
    }
    return iSlash;
}

std::string WithBackslash(std::string strPath)
{
    if (strPath.empty() || LastBackslash(strPath) != strPath.size() - 1)
        strPath += '\\';
    return strPath;
}

// Process id and a counter keep parallel test runs and several folders of
// one test apart; a name left over from a crashed run is skipped.
std::string CreateUniqueFolder(const std::string& strParent)
{
    static unsigned s_nCounter = 0;
    for (int nTry = 0; nTry < 1000; ++nTry) {
        char szName[64];
        std::snprintf(szName, sizeof(szName), "tarnix-%lu-%u", GetCurrentProcessId(), ++s_nCounter);
        std::string strPath = strParent + szName;
        if (CreateDirectoryA(strPath.c_str(), nullptr))
            return strPath;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    ADD_FAILURE() << "cannot create a folder under " << strParent;
    return std::string();
}

void RemoveTree(const std::string& strPath)
{
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((strPath + "\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string strName = fd.cFileName;
            if (strName == "." || strName == "..")
                continue;
            std::string strChild = strPath + "\\" + strName;
            SetFileAttributesA(strChild.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strChild);
            else
                DeleteFileA(strChild.c_str());
        } while (FindNextFileA(hFind, &fd));
        FindClose(hFind);
    }
    RemoveDirectoryA(strPath.c_str());
}

// Creates every missing folder of strPath, which has no trailing backslash.
void MakeFolders(const std::string& strPath)
{
    size_t iSlash = LastBackslash(strPath);
    if (GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES || iSlash == std::string::npos)
        return;
    MakeFolders(strPath.substr(0, iSlash));
    CreateDirectoryA(strPath.c_str(), nullptr);
}

std::string ParentOf(const std::string& strPath)
{
    return strPath.substr(0, LastBackslash(strPath));
}

struct FileCloser
{
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

}   // namespace

CTempFolder::CTempFolder(const std::string& strParent)
    : m_strPath(CreateUniqueFolder(WithBackslash(strParent.empty() ? TempPath() : strParent)))
{
}

CTempFolder::~CTempFolder()
{
    if (!m_strPath.empty())
        RemoveTree(m_strPath);
}

std::string CTempFolder::PathOf(const std::string& strRelative) const
{
    return m_strPath + "\\" + strRelative;
}

std::string CTempFolder::MakeFolder(const std::string& strRelative) const
{
    std::string strPath = PathOf(strRelative);
    MakeFolders(strPath);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(strPath.c_str())) << "cannot create " << strPath;
    return strPath;
}

std::string CTempFolder::MakeFile(const std::string& strRelative, const std::string& strBytes) const
{
    std::string strPath = PathOf(strRelative);
    MakeFolders(ParentOf(strPath));
    std::unique_ptr<std::FILE, FileCloser> pFile(std::fopen(strPath.c_str(), "wb"));
    EXPECT_TRUE(pFile && std::fwrite(strBytes.data(), 1, strBytes.size(), pFile.get()) == strBytes.size())
        << "cannot write " << strPath;
    return strPath;
}

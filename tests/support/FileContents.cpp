#include "tests/support/FileContents.h"

#include <windows.h>

#include <fstream>
#include <iterator>

std::string ContentsOf(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::map<std::string, std::string> FolderContents(const std::string& strFolder)
{
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return files;
    do {
        const std::string strName = found.cFileName;
        if (strName == "." || strName == "..")
            continue;
        const std::string strPath = strFolder + "\\" + strName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const auto inner = FolderContents(strPath);
            files.insert(inner.begin(), inner.end());
        } else {
            files[strPath] = ContentsOf(strPath);
        }
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    return files;
}

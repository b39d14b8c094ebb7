#include "tests/support/FileContents.h"

#include <windows.h>

#include <fstream>
#include <functional>
#include <iterator>

namespace {

using FileVisitor = std::function<void(const std::string& strPath, const WIN32_FIND_DATAA& found)>;

void ForEachFile(const std::string& strFolder, const FileVisitor& fnVisit)
{
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((strFolder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string strName = found.cFileName;
        if (strName == "." || strName == "..")
            continue;
        const std::string strPath = strFolder + "\\" + strName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ForEachFile(strPath, fnVisit);
        else
            fnVisit(strPath, found);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
}

}   // namespace

std::string ContentsOf(const std::string& strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::map<std::string, std::string> FolderContents(const std::string& strFolder)
{
    std::map<std::string, std::string> files;
    ForEachFile(strFolder, [&files](const std::string& strPath, const WIN32_FIND_DATAA&) {
        files[strPath] = ContentsOf(strPath);
    });
    return files;
}

std::map<std::string, std::string> FolderStamps(const std::string& strFolder)
{
    std::map<std::string, std::string> stamps;
    ForEachFile(strFolder, [&stamps](const std::string& strPath, const WIN32_FIND_DATAA& found) {
        const ULONGLONG ullSize = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        const FILETIME& ft = found.ftLastWriteTime;
        const ULONGLONG ullWritten = (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        stamps[strPath] = std::to_string(ullSize) + " bytes, written " + std::to_string(ullWritten);
    });
    return stamps;
}

#include "device/RapiLibrary.h"

#include <windows.h>

namespace {
constexpr char LIBRARY_NAME[] = "\\rapi.dll";

BOOL IsFile(const std::string& strPath)
{
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemFolder()
{
    char szFolder[MAX_PATH];
    const UINT cch = GetSystemDirectoryA(szFolder, MAX_PATH);
    return cch > 0 && cch < MAX_PATH ? szFolder : "";
}
}   // namespace

std::string ProgramFolder()
{
    char szPath[MAX_PATH];
    const DWORD cch = GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return "";
    std::string strPath(szPath, cch);
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? "" : strPath.substr(0, nSlash);
}

std::string RapiLibraryPath(const std::string& strProgramFolder)
{
    if (!strProgramFolder.empty() && IsFile(strProgramFolder + LIBRARY_NAME))
        return strProgramFolder + LIBRARY_NAME;
    const std::string strSystem = SystemFolder();
    return strSystem.empty() ? "" : strSystem + LIBRARY_NAME;
}

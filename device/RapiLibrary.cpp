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
    // The last real backslash: in the double-byte code pages a character's
    // second byte may be 0x5C.
    LPCSTR pszSlash = nullptr;
    for (LPCSTR psz = szPath; *psz != '\0'; psz = ::CharNextA(psz))
        if (*psz == '\\')
            pszSlash = psz;
    return pszSlash == nullptr ? "" : std::string(static_cast<LPCSTR>(szPath), pszSlash);
}

std::string RapiLibraryPath(const std::string& strProgramFolder)
{
    if (!strProgramFolder.empty() && IsFile(strProgramFolder + LIBRARY_NAME))
        return strProgramFolder + LIBRARY_NAME;
    const std::string strSystem = SystemFolder();
    return strSystem.empty() ? "" : strSystem + LIBRARY_NAME;
}

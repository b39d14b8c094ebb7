// Started by the launcher's tests in the program's place: prints what the
// program would find when started that way, its command line, the handheld
// endpoint, the code page, and every drive letter with its type. With
// LAUNCH_PROBE_HOLD=SECONDS it stays that long after, as a program in use;
// with LAUNCH_PROBE_RESCAN=SECONDS as well, it lists the drives again that
// long after the start ("later: ..."), each removable one with whether its
// root can be read, as a tree built anew would find them.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The command line after the program's own name, as the program reads it.
const char* ArgumentsOf(const char* pszLine)
{
    if (*pszLine == '"') {
        const char* pszEnd = std::strchr(pszLine + 1, '"');
        pszLine = pszEnd ? pszEnd + 1 : pszLine + std::strlen(pszLine);
    } else {
        while (*pszLine != '\0' && *pszLine != ' ' && *pszLine != '\t')
            ++pszLine;
    }
    while (*pszLine == ' ' || *pszLine == '\t')
        ++pszLine;
    return pszLine;
}

const char* DriveTypeName(UINT nType)
{
    switch (nType) {
    case DRIVE_REMOVABLE:
        return "removable";
    case DRIVE_FIXED:
        return "fixed";
    case DRIVE_REMOTE:
        return "remote";
    case DRIVE_CDROM:
        return "cdrom";
    case DRIVE_RAMDISK:
        return "ramdisk";
    default:
        return "unknown";
    }
}

void ListDrives(const char* pszPrefix, bool bRoots)
{
    const DWORD dwDrives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((dwDrives & (1u << i)) == 0)
            continue;
        const char szRoot[] = { static_cast<char>('A' + i), ':', '\\', '\0' };
        const UINT nType = GetDriveTypeA(szRoot);
        const bool bMissing =
            bRoots && nType == DRIVE_REMOVABLE && GetFileAttributesA(szRoot) == INVALID_FILE_ATTRIBUTES;
        std::printf("%sdrive %c: %s%s\n", pszPrefix, szRoot[0], DriveTypeName(nType), bMissing ? ", no root" : "");
    }
    std::fflush(stdout);
}

int Seconds(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? std::atoi(pszValue) : 0;
}

}   // namespace

int main()
{
    std::printf("command line: [%s]\n", ArgumentsOf(GetCommandLineA()));
    const char* pszEndpoint = std::getenv("TARNIX_RAPI_ENDPOINT");
    std::printf("endpoint: [%s]\n", pszEndpoint ? pszEndpoint : "");
    std::printf("code page: %u\n", GetACP());
    ListDrives("", false);
    const int nRescan = Seconds("LAUNCH_PROBE_RESCAN");
    if (nRescan > 0) {
        Sleep(static_cast<DWORD>(nRescan) * 1000);
        ListDrives("later: ", true);
    }
    Sleep(static_cast<DWORD>(std::max(Seconds("LAUNCH_PROBE_HOLD") - nRescan, 0)) * 1000);
    return 0;
}

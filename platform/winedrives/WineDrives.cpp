// tarnix-drives: gives a drive letter of removable type to a Linux folder,
// or takes one away, in the running Wine's own device manager, so that a
// program already running sees the change at once. The Linux launcher
// runs it when a medium is mounted or unmounted while the program runs.
//   tarnix-drives define LETTER LINUX-FOLDER
//   tarnix-drives remove LETTER
// The request is Wine's own extension of the mount manager's interface;
// on Windows the program is never used. It works in wide characters, unlike
// the program: Linux folders' names need not lie in its code page.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Wine's request to define a drive, as its mount manager takes it.
struct WineUnixDrive
{
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
// The layout Wine's mount manager reads, on both targets.
static_assert(sizeof(WineUnixDrive) == 32, "Wine's request is 32 bytes");
static_assert(offsetof(WineUnixDrive, letter) == 24 && offsetof(WineUnixDrive, mountPointOffset) == 26,
              "Wine's request has the letter and the folder's offset at 24 and 26");

constexpr DWORD MOUNT_MANAGER_TYPE = 0x0000006D;
constexpr DWORD IOCTL_DEFINE_UNIX_DRIVE =
    CTL_CODE(MOUNT_MANAGER_TYPE, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

// The Linux path as the mount manager takes it: UTF-8, ended by a NUL.
std::string Utf8Of(const wchar_t* pszWide)
{
    const int cb = WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, nullptr, 0, nullptr, nullptr);
    std::string str(static_cast<size_t>(cb > 0 ? cb : 1), '\0');
    if (cb > 0)
        WideCharToMultiByte(CP_UTF8, 0, pszWide, -1, &str[0], cb, nullptr, nullptr);
    return str;
}

// A request for the letter: with a folder, a removable drive there;
// without one, no drive at all.
std::vector<char> RequestFor(wchar_t chLetter, const wchar_t* pszFolder)
{
    const std::string strFolder = pszFolder ? Utf8Of(pszFolder) : std::string();
    std::vector<char> request(sizeof(WineUnixDrive) + strFolder.size(), '\0');
    WineUnixDrive drive = {};
    drive.size = static_cast<ULONG>(request.size());
    drive.type = pszFolder ? DRIVE_REMOVABLE : DRIVE_NO_ROOT_DIR;
    drive.letter = chLetter;
    if (pszFolder) {
        drive.mountPointOffset = sizeof(WineUnixDrive);
        std::copy(strFolder.begin(), strFolder.end(), request.begin() + sizeof(WineUnixDrive));
    }
    std::copy(reinterpret_cast<const char*>(&drive), reinterpret_cast<const char*>(&drive + 1), request.begin());
    return request;
}

// ERROR_SUCCESS, or why the mount manager could not be reached or refused.
DWORD Send(std::vector<char>& request)
{
    const HANDLE hManager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hManager == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD cbReturned = 0;
    const BOOL bDone = DeviceIoControl(hManager, IOCTL_DEFINE_UNIX_DRIVE, request.data(),
                                       static_cast<DWORD>(request.size()), nullptr, 0, &cbReturned, nullptr);
    const DWORD dwError = bDone ? ERROR_SUCCESS : GetLastError();
    CloseHandle(hManager);
    return dwError;
}

bool IsLetter(const wchar_t* psz)
{
    return psz[0] >= L'a' && psz[0] <= L'z' && psz[1] == L'\0';
}

int Usage()
{
    std::fputs("usage: tarnix-drives define LETTER LINUX-FOLDER | remove LETTER\n", stderr);
    return 2;
}

}   // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool bDefine = argc == 4 && std::wcscmp(argv[1], L"define") == 0;
    const bool bRemove = argc == 3 && std::wcscmp(argv[1], L"remove") == 0;
    if ((!bDefine && !bRemove) || !IsLetter(argv[2]))
        return Usage();
    std::vector<char> request = RequestFor(argv[2][0], bDefine ? argv[3] : nullptr);
    const DWORD dwError = Send(request);
    if (dwError != ERROR_SUCCESS) {
        std::fprintf(stderr, "tarnix-drives: the mount manager refused %ls: error %lu\n", argv[2],
                     static_cast<unsigned long>(dwError));
        return 1;
    }
    return 0;
}

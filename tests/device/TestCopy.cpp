#include "tests/device/TestCopy.h"

namespace {
constexpr DWORD COPY_TIMEOUT_MS = 60000;
constexpr DWORD NO_EXIT_CODE = ~0u;
}   // namespace

DWORD RunTestCopy(const std::string& strCopyPath, const std::string& strFilter, const char* pszMarker,
                  const std::string& strCurrentFolder)
{
    char szExe[MAX_PATH];
    GetModuleFileNameA(nullptr, szExe, MAX_PATH);
    if (!CopyFileA(szExe, strCopyPath.c_str(), FALSE))
        return NO_EXIT_CODE;
    std::string strCommand = "\"" + strCopyPath + "\" --gtest_filter=" + strFilter;
    SetEnvironmentVariableA(pszMarker, "1");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL bStarted =
        CreateProcessA(strCopyPath.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                       strCurrentFolder.empty() ? nullptr : strCurrentFolder.c_str(), &startup, &process);
    SetEnvironmentVariableA(pszMarker, nullptr);
    if (!bStarted)
        return NO_EXIT_CODE;
    DWORD dwExitCode = NO_EXIT_CODE;
    if (WaitForSingleObject(process.hProcess, COPY_TIMEOUT_MS) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &dwExitCode);
    else
        TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return dwExitCode;
}

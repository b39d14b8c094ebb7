#include "tests/app/LinkProcess.h"

#include "tests/app/ProgramProcess.h"
#include "tests/support/FileContents.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
constexpr DWORD START_TIMEOUT_MS = 30000;
constexpr DWORD STOP_TIMEOUT_MS = 10000;
const char SERVING[] = "listening on ";

// The path of the system a Windows path names under Wine; empty when this
// is not Wine.
std::string UnixPathOf(const std::string& strPath)
{
    using UnixFileName = char*(CDECL*)(LPCWSTR);
    const auto pfnUnixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR szPath[MAX_PATH];
    if (pfnUnixFileName == nullptr || !::MultiByteToWideChar(CP_ACP, 0, strPath.c_str(), -1, szPath, MAX_PATH))
        return std::string();
    char* pszUnix = pfnUnixFileName(szPath);
    if (pszUnix == nullptr)
        return std::string();
    const std::string strUnix = pszUnix;
    ::HeapFree(::GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

std::vector<std::string> LinesOf(const std::string& strText)
{
    std::vector<std::string> lines;
    std::istringstream stream(strText);
    for (std::string strLine; std::getline(stream, strLine);)
        lines.push_back(strLine);
    // A line still being written is not one yet.
    if (!strText.empty() && strText.back() != '\n')
        lines.pop_back();
    return lines;
}

// Starts run-link.sh; Wine gives no handle for a program of the system.
bool StartScript(const std::string& strFolder, const std::string& strOptions)
{
    std::string strCommand =
        "/bin/sh \"" TARNIX_LINK_SCRIPT "\" \"" + strFolder + "\" \"" TARNIX_LINK_PROGRAM "\" " + strOptions;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA("Z:\\bin\\sh", &strCommand[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return false;
    for (HANDLE hHandle : { process.hProcess, process.hThread }) {
        if (hHandle != nullptr)
            ::CloseHandle(hHandle);
    }
    return true;
}
}   // namespace

CLinkProcess::CLinkProcess(const std::string& strOptions)
{
    const std::string strFolder = UnixPathOf(m_folder.Path());
    if (strFolder.empty() || !StartScript(strFolder, strOptions)) {
        ADD_FAILURE() << "tarnix-link could not be started";
        return;
    }
    m_bStarted = true;
    WaitFor([this] { return !(m_strEndpoint = ServedEndpoint()).empty(); }, START_TIMEOUT_MS);
}

CLinkProcess::~CLinkProcess()
{
    if (!m_bStarted)
        return;
    m_folder.MakeFile("stop");
    if (!WaitFor([this] { return ::GetFileAttributesA(m_folder.PathOf("ended").c_str()) != INVALID_FILE_ATTRIBUTES; },
                 STOP_TIMEOUT_MS))
        ADD_FAILURE() << "tarnix-link did not end";
}

std::string CLinkProcess::ServedEndpoint() const
{
    for (const std::string& strLine : LinesOf(ContentsOf(m_folder.PathOf("out")))) {
        if (strLine.compare(0, sizeof(SERVING) - 1, SERVING) == 0)
            return strLine.substr(sizeof(SERVING) - 1);
    }
    return std::string();
}

std::vector<std::string> CLinkProcess::Notices() const
{
    return LinesOf(ContentsOf(m_folder.PathOf("err")));
}

bool CLinkProcess::WaitForNotices(size_t nLines, DWORD dwTimeout) const
{
    return WaitFor([&] { return Notices().size() >= nLines; }, dwTimeout);
}

void CLinkProcess::Answer(const std::string& strLine) const
{
    HANDLE hFile =
        ::CreateFileA(m_folder.PathOf("answers").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    const std::string strTyped = strLine + "\n";
    DWORD cbWritten = 0;
    EXPECT_TRUE(::WriteFile(hFile, strTyped.data(), static_cast<DWORD>(strTyped.size()), &cbWritten, nullptr));
    ::CloseHandle(hFile);
}

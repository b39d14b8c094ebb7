#include "tests/platform/rapi/EmulatorProcess.h"

#include <stdio.h>
#include <stdlib.h>

namespace {
constexpr DWORD START_TIMEOUT_MS = 30000;

// Why an emulator did not come up, on the test's error output: a test that
// then fails on port 0 says no more than that.
void ReportStartFailure(const std::string& strWhy)
{
    fprintf(stderr, "the emulator did not start: %s\n", strWhy.c_str());
}

std::string LoopbackEndpoint(WORD nPort)
{
    return "127.0.0.1:" + std::to_string(nPort);
}

HANDLE MakeKillOnCloseJob()
{
    HANDLE hJob = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (hJob)
        SetInformationJobObject(hJob, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return hJob;
}

// Wine now and then fails a process's start-up on a loaded machine with an
// internal error, before any of the program has run: a second try starts it.
BOOL StartSuspended(std::string& strCommand, STARTUPINFOA& startup, PROCESS_INFORMATION& process)
{
    for (int nTry = 1;; ++nTry) {
        if (CreateProcessA(TARNIX_EMULATOR_PATH, &strCommand[0], nullptr, nullptr, TRUE,
                           CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process))
            return TRUE;
        if (nTry == 2 || GetLastError() != ERROR_INTERNAL_ERROR)
            return FALSE;
    }
}

struct WinsockForTests
{
    WinsockForTests()
    {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
    }
    ~WinsockForTests() { WSACleanup(); }
};

void StartWinsock()
{
    static WinsockForTests s_winsock;
}
}   // namespace

CEmulatorProcess::CEmulatorProcess(const std::string& strRoot, const std::string& strOptions)
    : m_hJob(MakeKillOnCloseJob())
{
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE hWrite = nullptr;
    if (!CreatePipe(&m_hOutput, &hWrite, &inherit, 0)) {
        ReportStartFailure("no pipe, error " + std::to_string(GetLastError()));
        return;
    }
    SetHandleInformation(m_hOutput, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hWrite;
    startup.hStdError = hWrite;
    std::string strCommand = "\"" TARNIX_EMULATOR_PATH "\" --root \"" + strRoot + "\" --port 0 " + strOptions;
    PROCESS_INFORMATION process = {};
    const BOOL bStarted = StartSuspended(strCommand, startup, process);
    const DWORD dwStartError = GetLastError();
    CloseHandle(hWrite);
    if (!bStarted) {
        ReportStartFailure("CreateProcess error " + std::to_string(dwStartError));
        return;
    }
    m_hProcess = process.hProcess;
    if (m_hJob)
        AssignProcessToJobObject(m_hJob, m_hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    m_nPort = ReadPort();
    if (m_nPort != 0)
        m_reader = std::thread(&CEmulatorProcess::CountConnections, this);
}

CEmulatorProcess::~CEmulatorProcess()
{
    if (m_hProcess) {
        TerminateProcess(m_hProcess, 0);
        WaitForSingleObject(m_hProcess, 10000);
    }
    if (m_reader.joinable())
        m_reader.join();
    if (m_hProcess)
        CloseHandle(m_hProcess);
    if (m_hOutput)
        CloseHandle(m_hOutput);
    if (m_hJob)
        CloseHandle(m_hJob);
}

std::string CEmulatorProcess::Endpoint() const
{
    return LoopbackEndpoint(m_nPort);
}

bool CEmulatorProcess::ReadLine(std::string& strLine, DWORD dwTimeout)
{
    strLine.clear();
    const DWORD dwStart = GetTickCount();
    for (;;) {
        DWORD cbAvailable = 0;
        if (!PeekNamedPipe(m_hOutput, nullptr, 0, nullptr, &cbAvailable, nullptr))
            return false;
        if (cbAvailable == 0) {
            if (GetTickCount() - dwStart >= dwTimeout)
                return false;
            Sleep(20);
            continue;
        }
        char ch;
        DWORD cbRead;
        if (!ReadFile(m_hOutput, &ch, 1, &cbRead, nullptr) || cbRead != 1)
            return false;
        if (ch == '\n')
            return true;
        strLine += ch;
    }
}

// The first line the emulator prints: "listening on 127.0.0.1:PORT".
WORD CEmulatorProcess::ReadPort()
{
    std::string strLine;
    if (!ReadLine(strLine, START_TIMEOUT_MS)) {
        DWORD dwExitCode = 0;
        GetExitCodeProcess(m_hProcess, &dwExitCode);
        ReportStartFailure("no line (" + strLine + "), exit code " + std::to_string(dwExitCode));
        return 0;
    }
    const size_t nColon = strLine.rfind(':');
    const WORD nPort = nColon == std::string::npos ? 0 : static_cast<WORD>(atoi(strLine.c_str() + nColon + 1));
    if (nPort == 0)
        ReportStartFailure(strLine);
    return nPort;
}

void CEmulatorProcess::CountConnections()
{
    // Ends when the emulator does: its end of the pipe goes with it.
    std::string strLine;
    while (ReadLine(strLine, INFINITE)) {
        if (strLine.compare(0, 11, "connection ") == 0)
            ++m_nConnections;
    }
}

CSilentPort::CSilentPort(bool bLent)
{
    StartWinsock();
    m_s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const BOOL bReuse = bLent;
    setsockopt(m_s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&bReuse), sizeof(bReuse));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int cbAddr = sizeof(addr);
    if (bind(m_s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0
        && getsockname(m_s, reinterpret_cast<sockaddr*>(&addr), &cbAddr) == 0)
        m_nPort = ntohs(addr.sin_port);
}

CSilentPort::~CSilentPort()
{
    closesocket(m_s);
}

std::string CSilentPort::Endpoint() const
{
    return LoopbackEndpoint(m_nPort);
}

WORD FreeLoopbackPort(int nSocketType)
{
    StartWinsock();
    const SOCKET s = socket(AF_INET, nSocketType, 0);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int cbAddr = sizeof(addr);
    WORD nPort = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0
        && getsockname(s, reinterpret_cast<sockaddr*>(&addr), &cbAddr) == 0)
        nPort = ntohs(addr.sin_port);
    closesocket(s);
    return nPort;
}

const char* const OWN_LINK_VARIABLES[4] = { "TARNIX_RAPI_PC_ADDRESS", "TARNIX_RAPI_DEVICE_ADDRESS",
                                            "TARNIX_RAPI_TRIGGER_PORT", "TARNIX_RAPI_USB_PORT" };

void UseOwnLink(const std::string& strDeviceAddress, WORD nTriggerPort, WORD nPcPort)
{
    const std::string values[4] = { "127.0.0.1", strDeviceAddress, std::to_string(nTriggerPort),
                                    std::to_string(nPcPort) };
    for (int i = 0; i < 4; ++i)
        SetEnvironmentVariableA(OWN_LINK_VARIABLES[i], values[i].c_str());
}

void ForgetOwnLink()
{
    for (const char* pszName : OWN_LINK_VARIABLES)
        SetEnvironmentVariableA(pszName, nullptr);
}

void UseEndpoint(const std::string& strEndpoint)
{
    SetEnvironmentVariableA("TARNIX_RAPI_ENDPOINT", strEndpoint.empty() ? nullptr : strEndpoint.c_str());
}

WORD PortOfAnEmulatorGone(const std::string& strRoot)
{
    CEmulatorProcess emulator(strRoot);
    return emulator.Port();
}

// The handheld emulator: serves a host folder as a handheld's file system
// to the stand-in remote API library, over loopback TCP. Each connection
// runs on its own thread; the emulator runs until it is stopped.
#include "platform/rapi/SocketIo.h"
#include "platform/rapi/emulator/EmulatorConnection.h"
#include "platform/rapi/emulator/EmulatorOptions.h"
#include "platform/rapi/emulator/HandheldStore.h"
#include "platform/rapi/emulator/LinkFaults.h"

#include <shellapi.h>

namespace {
constexpr char USAGE[] = "usage: rapiemu --root FOLDER [--port N] [--no-handshake] [--refuse[=HRESULT]]\n"
                         "               [--capacity BYTES] [--drop-after BYTES] [--latency MS] [--throughput KBPS]\n"
                         "               [--hostile-listing[=unterminated|overcount|cut]]\n";

void WriteLine(DWORD nStdHandle, const std::string& strLine)
{
    DWORD cbWritten;
    std::string strText = strLine + "\n";
    WriteFile(GetStdHandle(nStdHandle), strText.data(), static_cast<DWORD>(strText.size()), &cbWritten, nullptr);
}

std::string ToAnsi(const std::wstring& str)
{
    char szText[512] = {};
    WideCharToMultiByte(CP_ACP, 0, str.c_str(), -1, szText, sizeof(szText) - 1, nullptr, nullptr);
    return szText;
}

CSocket Listen(WORD nPort)
{
    CSocket listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(nPort);
    if (!listener.IsValid() || bind(listener.Get(), reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0
        || listen(listener.Get(), SOMAXCONN) != 0)
        return CSocket();
    return listener;
}

WORD PortOf(SOCKET s)
{
    sockaddr_in addr = {};
    int cbAddr = sizeof(addr);
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &cbAddr);
    return ntohs(addr.sin_port);
}

DWORD WINAPI ConnectionThreadProc(void* pParam)
{
    CEmulatorConnection* pConnection = static_cast<CEmulatorConnection*>(pParam);
    pConnection->Serve();
    delete pConnection;
    return 0;
}

void StartConnection(CSocket link, DWORD dwId, CHandheldStore& store, CLinkFaults& faults)
{
    BOOL bNoDelay = TRUE;
    setsockopt(link.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&bNoDelay), sizeof(bNoDelay));
    if (!MakeNonBlocking(link.Get()))
        return;
    CEmulatorConnection* pConnection = new CEmulatorConnection(std::move(link), dwId, store, faults);
    CHandle hThread(CreateThread(nullptr, 0, ConnectionThreadProc, pConnection, 0, nullptr));
    if (!hThread.IsValid())
        delete pConnection;
}

int Run(const EmulatorOptions& options)
{
    CWinsock winsock;
    CHandheldStore store(options.strRoot, options.nCapacity);
    if (!store.Open()) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: cannot serve the folder " + ToAnsi(options.strRoot));
        return 1;
    }
    CSocket listener = Listen(options.nPort);
    if (!winsock.IsReady() || !listener.IsValid()) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: cannot listen on port " + std::to_string(options.nPort));
        return 1;
    }
    WriteLine(STD_OUTPUT_HANDLE, "listening on 127.0.0.1:" + std::to_string(PortOf(listener.Get())));
    CLinkFaults faults(options);
    for (DWORD dwId = 1;; ++dwId) {
        CSocket link(accept(listener.Get(), nullptr, nullptr));
        if (!link.IsValid())
            continue;
        // One line per connection, for whoever watches the handheld.
        WriteLine(STD_OUTPUT_HANDLE, "connection " + std::to_string(dwId));
        StartConnection(std::move(link), dwId, store, faults);
    }
}
}   // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    EmulatorOptions options;
    std::wstring strError;
    bool bParsed = argv && ParseEmulatorOptions(argc, argv, options, strError);
    LocalFree(argv);
    if (!bParsed) {
        WriteLine(STD_ERROR_HANDLE, "rapiemu: " + ToAnsi(strError));
        WriteLine(STD_ERROR_HANDLE, USAGE);
        return 2;
    }
    return Run(options);
}

// The handheld emulator as the tests run it: started on a port of the
// system's choosing, serving a given folder with the given fault options,
// and killed with the test. Also the helpers that point this process's
// stand-in library at an endpoint.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>

class CEmulatorProcess
{
public:
    CEmulatorProcess(const std::string& strRoot, const std::string& strOptions = std::string());
    ~CEmulatorProcess();
    CEmulatorProcess(const CEmulatorProcess&) = delete;
    CEmulatorProcess& operator=(const CEmulatorProcess&) = delete;

    // Zero when the emulator did not come up.
    WORD Port() const { return m_nPort; }
    std::string Endpoint() const;
    // How many connections the emulator has accepted so far.
    int Connections() const { return m_nConnections; }

private:
    WORD ReadPort();
    // The next line the emulator printed, without waiting longer than
    // dwTimeout; false when there is none by then.
    bool ReadLine(std::string& strLine, DWORD dwTimeout);
    // Reads the emulator's lines until it ends, counting its connections,
    // so that its output never fills the pipe and stops it.
    void CountConnections();

    HANDLE m_hJob;
    HANDLE m_hProcess = nullptr;
    HANDLE m_hOutput = nullptr;
    WORD m_nPort = 0;
    std::atomic<int> m_nConnections{ 0 };
    std::thread m_reader;
};

// A port an emulator serving strRoot came up on and has left again: free
// for a handheld that appears later. Zero when no emulator came up.
WORD PortOfAnEmulatorGone(const std::string& strRoot);

// A loopback port that is bound but not listening: connections to it are
// refused for as long as the object lives, and no other test takes it.
// bLent: bound with SO_REUSEADDR, so that a program told of the port may
// listen on it, where a handheld started before it connects; everyone else
// is still kept off.
class CSilentPort
{
public:
    explicit CSilentPort(bool bLent = false);
    ~CSilentPort();
    CSilentPort(const CSilentPort&) = delete;
    CSilentPort& operator=(const CSilentPort&) = delete;

    std::string Endpoint() const;
    WORD Port() const { return m_nPort; }

private:
    SOCKET m_s;
    WORD m_nPort = 0;
};

// A loopback port the system chose and let go again, for a PC side or a
// handheld started later to take: a TCP port, or with SOCK_DGRAM a UDP one.
WORD FreeLoopbackPort(int nSocketType = SOCK_STREAM);

// The settings of the stand-in's own PC side, in the order UseOwnLink
// takes them: the PC's address, the handheld's, its trigger port, the
// PC's port. The stand-in of this process, and of the programs it starts
// after, reaches a USB handheld with them when no endpoint is set.
extern const char* const OWN_LINK_VARIABLES[4];
void UseOwnLink(const std::string& strDeviceAddress, WORD nTriggerPort, WORD nPcPort);
// Removes those settings.
void ForgetOwnLink();

// The endpoint the stand-in library of this process uses from its next
// CeRapiInitEx on; an empty text removes the setting.
void UseEndpoint(const std::string& strEndpoint);

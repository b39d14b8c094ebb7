// A handheld played by the tests on loopback, built from the wire
// library's device-side machines: a USB one (takes the trigger, connects
// to the PC, connects back for each session) or a legacy one (connects to
// the PC, listens for sessions), with a small file table in memory that
// its remote-API sessions read and write.
#pragma once

#include "platform/handheldlink/LinkSettings.h"
#include "platform/handheldlink/LinkSocket.h"
#include "platform/handheldwire/Frames.h"
#include "platform/handheldwire/RapiCalls.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TestHandheldSetup
{
    bool bUsb = true;
    std::uint32_t nOsMajor = 5, nOsMinor = 2;   // and with them the remote-API version
    std::u16string strPassword;                 // typed on the PC when not empty
    bool bUnlockOnDevice = false;               // USB only
    int msUnlockAfter = -1;                     // on-device unlock: never when negative
    bool bUnterminatedName = false;             // listings carry a name filling all 260 units
    bool bOverstatesWrites = false;             // writes claim one byte more than given
};

class CTestHandheld
{
public:
    explicit CTestHandheld(const TestHandheldSetup& setup);
    ~CTestHandheld();
    CTestHandheld(const CTestHandheld&) = delete;
    CTestHandheld& operator=(const CTestHandheld&) = delete;

    // Loopback addresses and the device's own ports; the PC's ports left to the system.
    handheldlink::LinkSettings Settings() const;
    // Where the PC listens, once its link has started.
    void ConnectTo(std::uint16_t nPcControlPort);
    // The handheld hangs: it reads on but answers nothing on its control connection.
    void FallSilent() { m_bSilent = true; }
    std::map<std::u16string, std::vector<std::uint8_t>> Files() const;

private:
    void RunUsb();
    void RunLegacyControl();
    void RunLegacySessions();
    template <class Machine> void ServeControl(handheldlink::CLinkSocket& control, Machine& machine);
    void OnSessionRequested(std::uint32_t nId);
    void ServeSession(handheldlink::CLinkSocket session);
    bool TakeSessionPassword(handheldlink::CLinkSocket& session);
    handheldwire::RapiReply Answer(const handheldwire::RapiRequest& request);
    handheldwire::RapiReply List(const handheldwire::RapiRequest& request);

    const TestHandheldSetup m_setup;
    const handheldwire::RapiVersion m_version;
    std::atomic<bool> m_bStop{ false };
    std::atomic<bool> m_bSilent{ false };
    std::atomic<std::uint16_t> m_nPcPort{ 0 };
    int m_nTriggerSocket = -1;
    handheldlink::CLinkSocket m_sessionListener;   // legacy
    mutable std::mutex m_cs;                       // the file table and handles
    std::map<std::u16string, std::vector<std::uint8_t>> m_files;
    std::map<std::uint32_t, std::u16string> m_handles;
    std::uint32_t m_nNextHandle = 0x4000;
    std::vector<std::thread> m_mainThreads;
    std::mutex m_csSessions;
    std::vector<std::thread> m_sessionThreads;
};

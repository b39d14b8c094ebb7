// A test with its own served folder, the emulator speaking the handheld's
// own protocol on it, and the PC's side played by the test: the control
// connection of a USB or a legacy handheld, and remote-API sessions. The
// ports the emulator connects to are the test's, chosen by the system, and
// the emulator listens on ports of the system's choosing, so that runs on
// the same machine do not collide.
#pragma once

// Ahead of the wire library: some of its call names (CreateFile, MoveFile...)
// are also Win32 macros, which must rename them alike wherever they are used.
#include <winsock2.h>
#include <windows.h>

#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/UsbControl.h"
#include "tests/platform/rapi/EmulatorProcess.h"
#include "tests/platform/rapi/handheld/PcControl.h"
#include "tests/platform/rapi/handheld/RapiTestClient.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>

// Long enough for a Wine process to start and answer on a loaded machine.
constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr DWORD ANSWER_MS = 10000;
// How long a test watches for something that must not happen.
constexpr DWORD QUIET_MS = 1500;
const std::string DEVICE_ADDRESS = "127.0.0.2";

using CUsbPc = CPcControl<handheldwire::CUsbControlPc>;
using CLegacyPc = CPcControl<handheldwire::CLegacyControlPc>;

class HandheldTest : public testing::Test
{
protected:
    void StartEmulator(const std::string& strOptions)
    {
        m_pEmulator.reset(new CEmulatorProcess(m_root.Path(), "--device-address " + DEVICE_ADDRESS + " " + strOptions));
        ASSERT_NE(0, m_pEmulator->Port()) << "the emulator did not start";
    }

    // Triggers a USB handheld and takes its control connection up to the
    // end of the handshake.
    void StartUsb(const std::string& strOptions = std::string())
    {
        m_pcPort = CTestLink::Listen("127.0.0.1");
        ASSERT_TRUE(m_pcPort.IsValid());
        ASSERT_NO_FATAL_FAILURE(StartEmulator("--mode usb --trigger-port 0 --control-port "
                                              + std::to_string(m_pcPort.Port()) + " " + strOptions));
        ASSERT_NO_FATAL_FAILURE(AttachUsb());
    }

    void AttachUsb()
    {
        ASSERT_TRUE(CTestLink::SendDatagram(DEVICE_ADDRESS, m_pEmulator->Port(), 0x7F));
        CTestLink control = m_pcPort.Accept(START_TIMEOUT_MS);
        ASSERT_TRUE(control.IsValid()) << "the handheld did not connect";
        m_pUsb.reset(new CUsbPc(std::move(control)));
        ASSERT_TRUE(m_pUsb->WaitFor(handheldwire::ControlEvent::HandshakeDone, ANSWER_MS));
    }

    // A session asked for on the control connection: the handheld's new
    // connection, which must open with the id. Null when none came.
    std::unique_ptr<CRapiTestClient> OpenUsbSession(handheldwire::RapiVersion version, DWORD dwTimeout = ANSWER_MS)
    {
        const std::uint32_t dwId = m_pUsb->Control().RequestSession();
        m_pUsb->Flush();
        CTestLink link = m_pcPort.Accept(dwTimeout);
        std::vector<std::uint8_t> id;
        if (dwId == 0 || !link.IsValid() || !link.ReceiveExactly(4, id, ANSWER_MS))
            return nullptr;
        EXPECT_EQ(dwId, id[0] | (id[1] << 8) | (id[2] << 16) | (static_cast<std::uint32_t>(id[3]) << 24));
        return std::make_unique<CRapiTestClient>(std::move(link), version);
    }

    // A legacy handheld connects to the test's control port by itself.
    void StartLegacy(const std::string& strOptions = std::string())
    {
        m_pcPort = CTestLink::Listen("127.0.0.1");
        ASSERT_TRUE(m_pcPort.IsValid());
        ASSERT_NO_FATAL_FAILURE(StartEmulator("--mode legacy --session-port 0 --control-port "
                                              + std::to_string(m_pcPort.Port()) + " " + strOptions));
        ASSERT_NO_FATAL_FAILURE(AttachLegacy(m_pcPort));
    }

    // A second handheld, legacy, beside the one the test runs already.
    void StartLegacyBeside(const std::string& strOptions = std::string())
    {
        m_legacyPort = CTestLink::Listen("127.0.0.1");
        m_pSecondEmulator.reset(new CEmulatorProcess(
            m_root.Path(), "--mode legacy --session-port 0 --device-address " + DEVICE_ADDRESS + " --control-port "
                               + std::to_string(m_legacyPort.Port()) + " " + strOptions));
        ASSERT_NE(0, m_pSecondEmulator->Port());
        ASSERT_NO_FATAL_FAILURE(AttachLegacy(m_legacyPort));
    }

    void AttachLegacy(const CTestLink& pcPort)
    {
        CTestLink control = pcPort.Accept(START_TIMEOUT_MS);
        ASSERT_TRUE(control.IsValid()) << "the handheld did not connect";
        m_pLegacy.reset(new CLegacyPc(std::move(control)));
        ASSERT_TRUE(m_pLegacy->WaitFor(handheldwire::ControlEvent::HandshakeDone, ANSWER_MS));
    }

    // A connection to the handheld's own session port, with the password
    // step when one is given; null when the handheld turned it down.
    std::unique_ptr<CRapiTestClient> OpenDirectSession(handheldwire::RapiVersion version,
                                                       const std::u16string& strPassword = std::u16string(),
                                                       std::uint8_t nKey = 0)
    {
        CTestLink link = CTestLink::Connect(DEVICE_ADDRESS, m_pEmulator->Port());
        std::vector<std::uint8_t> verdict;
        if (!link.IsValid())
            return nullptr;
        if (!strPassword.empty()
            && (!link.Send(handheldwire::EncodePassword(strPassword, nKey))
                || !link.ReceiveExactly(1, verdict, ANSWER_MS) || verdict[0] == 0))
            return nullptr;
        return std::make_unique<CRapiTestClient>(std::move(link), version);
    }

    void StartFrames(const std::string& strOptions)
    {
        ASSERT_NO_FATAL_FAILURE(StartEmulator("--mode frames --session-port 0 " + strOptions));
    }

    CTempFolder m_root;
    std::unique_ptr<CEmulatorProcess> m_pEmulator;
    std::unique_ptr<CEmulatorProcess> m_pSecondEmulator;
    CTestLink m_pcPort;
    CTestLink m_legacyPort;
    std::unique_ptr<CUsbPc> m_pUsb;
    std::unique_ptr<CLegacyPc> m_pLegacy;
};

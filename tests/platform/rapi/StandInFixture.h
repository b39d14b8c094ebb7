// A test with its own served folder, an emulator on it and a session of
// the stand-in library with that emulator.
#pragma once

#include "tests/platform/rapi/StandInSession.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>

// Long enough for a Wine process to start and answer on a loaded machine.
constexpr DWORD ANSWER_TIMEOUT_MS = 20000;

class StandInTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, StandInLibrary()) << "rapi.dll is not in the system directory"; }

    void StartEmulator(const std::string& strOptions = std::string())
    {
        m_pEmulator.reset(new CEmulatorProcess(m_root.Path(), strOptions));
        ASSERT_NE(0, m_pEmulator->Port()) << "the emulator did not start";
        UseEndpoint(m_pEmulator->Endpoint());
    }

    void Connect(const std::string& strOptions = std::string())
    {
        ASSERT_NO_FATAL_FAILURE(StartEmulator(strOptions));
        m_pSession.reset(new CStandInSession);
        ASSERT_EQ(S_OK, m_pSession->InitResult());
        ASSERT_TRUE(m_pSession->IsAnswered(ANSWER_TIMEOUT_MS)) << "the handheld did not answer";
        ASSERT_EQ(S_OK, m_pSession->HandheldResult());
    }

    void Disconnect()
    {
        m_pSession.reset();
        m_pEmulator.reset();
    }

    void TearDown() override { Disconnect(); }

    CTempFolder m_root;
    std::unique_ptr<CEmulatorProcess> m_pEmulator;
    std::unique_ptr<CStandInSession> m_pSession;
};

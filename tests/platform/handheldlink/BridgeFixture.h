// A bridge served on loopback through a link to a handheld the test plays,
// with every bound short so that a test of a silent device ends quickly.
#pragma once

#include "platform/handheldlink/BridgeConnection.h"
#include "platform/handheldlink/BridgeServer.h"
#include "platform/handheldlink/LegacyLink.h"
#include "platform/handheldlink/UsbLink.h"
#include "tests/platform/handheldlink/StandInClient.h"
#include "tests/platform/handheldlink/TestHandheld.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Answers from a list, then gives up; an empty answer in the list gives up
// that once.
class CListedPasswords : public handheldlink::IPasswordSource
{
public:
    explicit CListedPasswords(std::vector<std::u16string> answers) : m_answers(std::move(answers)) {}

    bool NextPassword(bool bRetry, std::u16string& strPassword) override
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_retries += bRetry;
        if (m_nNext == m_answers.size())
            return false;
        strPassword = m_answers[m_nNext++];
        return !strPassword.empty();
    }
    void ShowUnlockNotice() override
    {
        std::lock_guard<std::mutex> lock(m_cs);
        ++m_nNotices;
        m_bNoticeShown = true;
    }
    void EndUnlockNotice() override
    {
        std::lock_guard<std::mutex> lock(m_cs);
        m_bNoticeShown = false;
    }
    std::size_t Asked() const
    {
        std::lock_guard<std::mutex> lock(m_cs);
        return m_nNext;
    }
    int Retries() const
    {
        std::lock_guard<std::mutex> lock(m_cs);
        return m_retries;
    }
    int Notices() const
    {
        std::lock_guard<std::mutex> lock(m_cs);
        return m_nNotices;
    }
    bool NoticeShown() const
    {
        std::lock_guard<std::mutex> lock(m_cs);
        return m_bNoticeShown;
    }

private:
    mutable std::mutex m_cs;
    std::vector<std::u16string> m_answers;
    std::size_t m_nNext = 0;
    int m_retries = 0;
    int m_nNotices = 0;
    bool m_bNoticeShown = false;
};

constexpr std::uint32_t PING_INTERVAL_MS = 200, PING_ANSWER_MS = 300, SESSION_WAIT_MS = 3000;
constexpr std::uint32_t CONNECT_WAIT_MS = 10000;

class BridgeFixture : public ::testing::Test
{
protected:
    // Starts the handheld, the link and the bridge; false when a port cannot be bound.
    bool Start(const TestHandheldSetup& setup, std::vector<std::u16string> passwords = {})
    {
        m_pServer.reset();
        m_pLink.reset();
        m_pHandheld = std::make_unique<CTestHandheld>(setup);
        m_pPasswords = std::make_unique<CListedPasswords>(std::move(passwords));
        m_settings = m_pHandheld->Settings();
        m_settings.msPingInterval = PING_INTERVAL_MS;
        m_settings.msPingAnswer = PING_ANSWER_MS;
        m_settings.msSessionWait = SESSION_WAIT_MS;
        m_settings.msCallBound = 2000;
        m_pLink = setup.bUsb ? StartLink<handheldlink::CUsbLink>() : StartLink<handheldlink::CLegacyLink>();
        if (!m_pLink)
            return false;
        m_pServer = std::make_unique<handheldlink::CBridgeServer>(ServedLink(), m_settings);
        int nError = 0;
        return m_pServer->Start("127.0.0.1", 0, nError);
    }

    // What the bridge serves: the link itself, or what a test puts over it.
    virtual handheldlink::IHandheldLink& ServedLink() { return *m_pLink; }

    std::unique_ptr<CStandInClient> Connect() const { return std::make_unique<CStandInClient>(m_pServer->Port()); }

    // True once the handheld is there and unlocked; a loaded machine may
    // take longer than the bridge's own wait for it.
    bool WaitUntilConnected() const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(CONNECT_WAIT_MS);
        while (!m_pLink->IsConnected()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // True once the password source has been asked nAnswers times.
    bool WaitUntilAsked(std::size_t nAnswers) const
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(CONNECT_WAIT_MS);
        while (m_pPasswords->Asked() < nAnswers) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }

    // A client whose handshake went through.
    std::unique_ptr<CStandInClient> Greeted() const
    {
        EXPECT_TRUE(WaitUntilConnected()) << "the handheld never came";
        std::unique_ptr<CStandInClient> pClient = Connect();
        PrivateReply reply;
        EXPECT_TRUE(pClient->Request(CStandInClient::Hello(), reply, SESSION_WAIT_MS + 2000));
        EXPECT_EQ(0u, reply.dwResult);
        return pClient;
    }

    std::unique_ptr<CTestHandheld> m_pHandheld;
    std::unique_ptr<CListedPasswords> m_pPasswords;
    handheldlink::LinkSettings m_settings;
    std::unique_ptr<handheldlink::IHandheldLink> m_pLink;
    std::unique_ptr<handheldlink::CBridgeServer> m_pServer;

private:
    template <class Link> std::unique_ptr<handheldlink::IHandheldLink> StartLink()
    {
        auto pLink = std::make_unique<Link>(m_settings, *m_pPasswords);
        int nError = 0;
        if (!pLink->Start(nError))
            return nullptr;
        m_pHandheld->ConnectTo(pLink->ControlPort());
        return pLink;
    }
};

// The control connections: passwords typed on the PC, the unlock on the
// handheld, keep-alives, and sessions a locked handheld does not open.
#include "tests/platform/rapi/handheld/HandheldFixture.h"
#include "tests/platform/rapi/handheld/WireRequests.h"

namespace {
using handheldwire::Call;
using handheldwire::ControlEvent;
using handheldwire::RapiReply;
using handheldwire::RapiVersion;

// A session the client can use: the special folder answers.
bool Works(CRapiTestClient* pClient)
{
    RapiReply reply;
    return pClient && pClient->Call(wire::SpecialFolder(5, 260), reply) && reply.strPath == u"\\My Documents";
}

// 5, 4, id sent as they are, as a PC that does not wait for the unlock would.
void RequestSessionAnyway(const CTestLink& link, std::uint8_t nId)
{
    link.Send({ 5, 0, 0, 0, 4, 0, 0, 0, nId, 0, 0, 0 });
}

struct PasswordCase
{
    const char* pszName;
    std::vector<std::u16string> tries;   // all but the last are wrong
};

TEST_F(HandheldTest, UsbPasswordsAreCheckedAndMayBeTriedAgain)
{
    const PasswordCase cases[] = {
        { "right at once", { u"secret" } },
        { "wrong, then right", { u"guess", u"Secret", u"secret" } },
    };
    for (const PasswordCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_pUsb.reset();
        m_pEmulator.reset();
        ASSERT_NO_FATAL_FAILURE(StartUsb("--password secret"));
        EXPECT_NE(0u, m_pUsb->Control().Info().dwPasswordKey);
        EXPECT_EQ(0u, m_pUsb->Control().RequestSession()) << "a session while the password is due";
        for (size_t i = 0; i < c.tries.size(); ++i) {
            RequestSessionAnyway(m_pUsb->Link(), 9);
            EXPECT_FALSE(m_pcPort.Accept(300).IsValid()) << "a locked handheld opened a session";
            m_pUsb->Control().OfferPassword(c.tries[i]);
            ControlEvent verdict;
            ASSERT_TRUE(m_pUsb->WaitFor(ControlEvent::PasswordVerdict, ANSWER_MS, &verdict));
            EXPECT_EQ(i + 1 == c.tries.size(), verdict.bAccepted);
        }
        EXPECT_TRUE(Works(OpenUsbSession(RapiVersion::V2).get()));
    }
}

// A PC that pings before it has the verdict of a wrong password reads the
// verdict first, then the ping's answer, and may still try again.
TEST_F(HandheldTest, UsbAnswersKeepTheOrderOfTheQuestions)
{
    ASSERT_NO_FATAL_FAILURE(StartUsb("--password secret"));
    const std::uint8_t nKey = static_cast<std::uint8_t>(m_pUsb->Control().Info().dwPasswordKey);
    std::vector<std::uint8_t> question = handheldwire::EncodePassword(u"guess", nKey);
    question.insert(question.end(), { 1, 0, 0, 0 });
    ASSERT_TRUE(m_pUsb->Link().Send(question));
    std::vector<std::uint8_t> answers;
    ASSERT_TRUE(m_pUsb->Link().ReceiveExactly(6, answers, ANSWER_MS));
    EXPECT_EQ(std::vector<std::uint8_t>({ 0, 0, 2, 0, 0, 0 }), answers) << "a u16 verdict of 0, then the u32 2";
    m_pUsb->Control().OfferPassword(u"secret");
    ControlEvent verdict;
    ASSERT_TRUE(m_pUsb->WaitFor(ControlEvent::PasswordVerdict, ANSWER_MS, &verdict));
    EXPECT_TRUE(verdict.bAccepted);
}

TEST_F(HandheldTest, LegacyPasswordsGuardTheControlConnectionAndEverySession)
{
    ASSERT_NO_FATAL_FAILURE(StartLegacy("--password secret"));
    const std::uint8_t nKey = static_cast<std::uint8_t>(m_pLegacy->Control().Info().dwPasswordKey);
    EXPECT_NE(0u, m_pLegacy->Control().Info().dwPasswordKey) << "no challenge came";
    m_pLegacy->Control().OfferPassword(u"wrong");
    ControlEvent verdict;
    ASSERT_TRUE(m_pLegacy->WaitFor(ControlEvent::PasswordVerdict, ANSWER_MS, &verdict));
    EXPECT_FALSE(verdict.bAccepted);
    m_pLegacy->Control().OfferPassword(u"secret");
    ASSERT_TRUE(m_pLegacy->WaitFor(ControlEvent::PasswordVerdict, ANSWER_MS, &verdict));
    EXPECT_TRUE(verdict.bAccepted);

    EXPECT_FALSE(OpenDirectSession(RapiVersion::V1, u"wrong", nKey)) << "a wrong password opened a session";
    EXPECT_TRUE(Works(OpenDirectSession(RapiVersion::V1, u"secret", nKey).get()));
}

struct UnlockCase
{
    const char* pszOption;
    bool bUnlocks;
};

TEST_F(HandheldTest, UnlockOnTheHandheldComesInTimeOrNever)
{
    const UnlockCase cases[] = { { "--unlock-on-device 2", true }, { "--unlock-on-device never", false } };
    for (const UnlockCase& c : cases) {
        SCOPED_TRACE(c.pszOption);
        m_pUsb.reset();
        m_pEmulator.reset();
        ASSERT_NO_FATAL_FAILURE(StartUsb(c.pszOption));
        EXPECT_EQ(handheldwire::PASSWORD_ON_DEVICE, m_pUsb->Control().Info().dwPasswordKey);
        m_pUsb->Control().RequestUnlock();
        m_pUsb->Flush();
        const DWORD dwAsked = GetTickCount();
        RequestSessionAnyway(m_pUsb->Link(), 7);
        m_pUsb->Control().Ping();
        EXPECT_FALSE(m_pcPort.Accept(500).IsValid()) << "a locked handheld opened a session";
        EXPECT_EQ(c.bUnlocks, m_pUsb->WaitFor(ControlEvent::Unlocked, 6000));
        if (c.bUnlocks) {
            EXPECT_GE(GetTickCount() - dwAsked, 1800u) << "unlocked before the user's two seconds were up";
            EXPECT_TRUE(Works(OpenUsbSession(RapiVersion::V2).get()));
        } else
            EXPECT_FALSE(m_pcPort.Accept(QUIET_MS).IsValid());
    }
}

// What the PC learns of the handheld on either control connection: the
// name and the OS version it was given.
TEST_F(HandheldTest, TheInfoCarriesTheNameAndOsVersionGiven)
{
    ASSERT_NO_FATAL_FAILURE(StartUsb("--name Kiosk_7 --os 5.1"));
    ASSERT_NO_FATAL_FAILURE(StartLegacyBeside("--name Old_One"));
    const struct
    {
        const char* pszKind;
        const handheldwire::DeviceInfo& info;
        std::u16string strName;
        std::uint32_t nOsMajor;
        std::uint32_t nOsMinor;
    } cases[] = {
        { "usb", m_pUsb->Control().Info(), u"Kiosk_7", 5, 1 },
        { "legacy", m_pLegacy->Control().Info(), u"Old_One", 4, 20 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszKind);
        EXPECT_TRUE(c.strName == c.info.strName);
        EXPECT_EQ(c.nOsMajor, c.info.nOsMajor);
        EXPECT_EQ(c.nOsMinor, c.info.nOsMinor);
    }
}

TEST_F(HandheldTest, KeepAlivesAreAnsweredOnEitherControlConnection)
{
    ASSERT_NO_FATAL_FAILURE(StartUsb());
    ASSERT_NO_FATAL_FAILURE(StartLegacyBeside());
    for (int i = 0; i < 3; ++i) {
        m_pUsb->Control().Ping();
        EXPECT_TRUE(m_pUsb->WaitFor(ControlEvent::PingAnswered, ANSWER_MS)) << "USB ping " << i;
        m_pLegacy->Control().Ping();
        EXPECT_TRUE(m_pLegacy->WaitFor(ControlEvent::PingAnswered, ANSWER_MS)) << "legacy ping " << i;
    }
}

// A control connection that ends leaves the USB handheld waiting for the
// next trigger, and a new connection works as the first did.
TEST_F(HandheldTest, UsbHandheldComesBackAfterItsControlConnectionEnds)
{
    ASSERT_NO_FATAL_FAILURE(StartUsb());
    std::unique_ptr<CRapiTestClient> pFirst = OpenUsbSession(RapiVersion::V2);
    m_pUsb.reset();
    ASSERT_NO_FATAL_FAILURE(AttachUsb());
    EXPECT_TRUE(Works(OpenUsbSession(RapiVersion::V2).get()));
    EXPECT_TRUE(Works(pFirst.get())) << "a session outlives the control connection that asked for it";
}
}   // namespace

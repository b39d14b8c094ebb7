// tarnix-link's default: both kinds of handheld waited for at once, the
// bridge serving whichever is there. The USB handheld is played in-process;
// no legacy one ever comes.
#include "platform/link/EitherLink.h"

#include "tests/platform/handheldlink/BridgeFixture.h"

namespace {

class CAbsentLink : public handheldlink::IHandheldLink
{
public:
    bool OpenSession(handheldlink::CLinkSocket&, handheldwire::RapiVersion&, std::uint64_t&) override { return false; }
    bool IsAlive(std::uint64_t) const override { return false; }
    bool IsConnected() const override { return false; }
    void SessionWanted() override {}
};

class EitherLinkTest : public BridgeFixture
{
protected:
    void TearDown() override { m_pServer.reset(); }

    handheldlink::IHandheldLink& ServedLink() override
    {
        m_pEither = std::make_unique<CEitherLink>(*m_pLink, m_absent, SESSION_WAIT_MS);
        return *m_pEither;
    }

    CAbsentLink m_absent;
    std::unique_ptr<CEitherLink> m_pEither;
};

TEST_F(EitherLinkTest, ServesTheHandheldThatIsThere)
{
    TestHandheldSetup setup;
    ASSERT_TRUE(Start(setup));
    std::unique_ptr<CStandInClient> pClient = Greeted();
    PrivateReply reply;
    ASSERT_TRUE(pClient->Request(CStandInClient::FindAll(0, u"\\*"), reply));
    EXPECT_EQ(1u, reply.dwResult);
}

// A user who gave up on the password is asked again when the program next
// looks for the handheld: the link whose handheld is locked is told a
// session is wanted, though it is not connected.
TEST_F(EitherLinkTest, AUserWhoGaveUpIsAskedAgainByTheNextSession)
{
    TestHandheldSetup setup;
    setup.strPassword = u"1234";
    ASSERT_TRUE(Start(setup, { u"", u"1234" }));
    ASSERT_TRUE(WaitUntilAsked(1)) << "asked once, and given up";
    PrivateReply reply;
    ASSERT_TRUE(Connect()->Request(CStandInClient::Hello(), reply, SESSION_WAIT_MS + 2000));
    EXPECT_EQ(0u, reply.dwResult) << "asked again, and answered";
    EXPECT_EQ(2u, m_pPasswords->Asked());
}

}   // namespace

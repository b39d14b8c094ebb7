#include "tests/platform/handheldlink/BridgeFixture.h"

#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/RapiCalls.h"

#include <chrono>

namespace {
using handheldlink::HR_DEVICE_NOT_CONNECTED;

constexpr std::uint32_t LISTING_FLAGS =
    handheldwire::FAF_NAME | handheldwire::FAF_ATTRIBUTES | handheldwire::FAF_SIZE_LOW;
const std::u16string FILE_PATH = u"\\My Documents\\a.kda";

struct Kind
{
    const char* pszWhat;
    bool bUsb;
    std::uint32_t nOsMajor, nOsMinor;
};
const Kind KINDS[] = { { "usb, version 2", true, 5, 2 },
                       { "usb, version 1", true, 5, 0 },
                       { "legacy, version 1", false, 4, 20 },
                       { "legacy, version 2", false, 5, 1 } };

TestHandheldSetup SetupOf(const Kind& kind)
{
    TestHandheldSetup setup;
    setup.bUsb = kind.bUsb;
    setup.nOsMajor = kind.nOsMajor;
    setup.nOsMinor = kind.nOsMinor;
    return setup;
}

std::vector<std::uint8_t> Pattern(std::size_t cb, std::uint8_t nSeed)
{
    std::vector<std::uint8_t> data(cb);
    for (std::size_t i = 0; i < cb; ++i)
        data[i] = static_cast<std::uint8_t>(i * 7 + nSeed);
    return data;
}

// The name field of the record at nIndex of a listing reply's records.
std::u16string NameAt(const PrivateReply& reply, std::size_t nIndex)
{
    const std::size_t nOffset = 4 + nIndex * handheldwire::FIND_DATA_BYTES + 40;
    std::u16string str;
    for (std::size_t i = nOffset; reply.rest[i] | reply.rest[i + 1]; i += 2)
        str += static_cast<char16_t>(reply.rest[i] | (reply.rest[i + 1] << 8));
    return str;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t nOffset)
{
    std::uint32_t n = 0;
    handheldwire::CByteReader reader(bytes.data() + nOffset, 4);
    reader.U32(n);
    return n;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

using BridgeTest = BridgeFixture;
}   // namespace

// Every op of the stand-in, through each kind of handheld in each version:
// a file written in two blocks arrives whole, is listed as a CE_FIND_DATA
// record, and is deleted; the handheld's last error passes through, and a
// handle the stand-in never got is refused without a call.
TEST_F(BridgeTest, ServesEveryOpThroughBothKindsAndVersions)
{
    for (const Kind& kind : KINDS) {
        SCOPED_TRACE(kind.pszWhat);
        ASSERT_TRUE(Start(SetupOf(kind)));
        std::unique_ptr<CStandInClient> pClient = Greeted();
        PrivateReply reply;
        ASSERT_TRUE(pClient->Request(CStandInClient::Create(FILE_PATH), reply));
        const std::uint32_t hFile = reply.dwResult;
        ASSERT_NE(0u, hFile);
        const std::vector<std::uint8_t> first = Pattern(65536, 1), second = Pattern(100, 2);
        for (const std::vector<std::uint8_t>* pBlock : { &first, &second }) {
            ASSERT_TRUE(pClient->Request(CStandInClient::Write(hFile, *pBlock), reply));
            EXPECT_EQ(1u, reply.dwResult);
            EXPECT_EQ(pBlock->size(), U32At(reply.rest, 0));
        }
        ASSERT_TRUE(pClient->Request(CStandInClient::Close(hFile), reply));
        EXPECT_EQ(1u, reply.dwResult);
        std::vector<std::uint8_t> whole = first;
        whole.insert(whole.end(), second.begin(), second.end());
        EXPECT_EQ(whole, m_pHandheld->Files()[FILE_PATH]);

        ASSERT_TRUE(pClient->Request(CStandInClient::FindAll(LISTING_FLAGS, u"\\My Documents\\*"), reply));
        EXPECT_EQ(1u, reply.dwResult);
        ASSERT_EQ(4 + handheldwire::FIND_DATA_BYTES, reply.rest.size());
        EXPECT_EQ(1u, U32At(reply.rest, 0));
        EXPECT_EQ(0x80u, U32At(reply.rest, 4));
        EXPECT_EQ(whole.size(), U32At(reply.rest, 4 + 32));
        EXPECT_EQ(u"a.kda", NameAt(reply, 0));

        ASSERT_TRUE(pClient->Request(CStandInClient::Write(hFile, first), reply));
        EXPECT_EQ(0u, reply.dwResult) << "a closed handle";
        EXPECT_EQ(6u, reply.dwError);
        ASSERT_TRUE(pClient->Request(CStandInClient::Delete(FILE_PATH), reply));
        EXPECT_EQ(1u, reply.dwResult);
        ASSERT_TRUE(pClient->Request(CStandInClient::Delete(FILE_PATH), reply));
        EXPECT_EQ(0u, reply.dwResult);
        EXPECT_EQ(2u, reply.dwError) << "the handheld's own last error";
        ASSERT_TRUE(pClient->Request(CStandInClient::FindAll(LISTING_FLAGS, u"\\My Documents\\*"), reply));
        EXPECT_EQ(1u, reply.dwResult);
        EXPECT_EQ(0u, U32At(reply.rest, 0));
    }
}

// A password refused is asked for again; one right answer opens sessions
// (a legacy handheld takes it again on each session). When the user gives
// up, the handshake fails as not connected within the link's wait.
TEST_F(BridgeTest, PasswordsAreTriedAsTheHandheldAllows)
{
    struct Case
    {
        const char* pszWhat;
        bool bUsb;
        std::vector<std::u16string> answers;
        bool bOpens;
    } cases[] = {
        { "usb, wrong then right", true, { u"wrong", u"1234" }, true },
        { "legacy, wrong then right", false, { u"wrong", u"1234" }, true },
        { "usb, wrong then given up", true, { u"wrong" }, false },
        { "legacy, given up at once", false, {}, false },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.pszWhat);
        TestHandheldSetup setup;
        setup.bUsb = test.bUsb;
        setup.nOsMajor = test.bUsb ? 5 : 4;
        setup.nOsMinor = test.bUsb ? 2 : 20;
        setup.strPassword = u"1234";
        ASSERT_TRUE(Start(setup, test.answers));
        std::unique_ptr<CStandInClient> pClient = Connect();
        const auto start = std::chrono::steady_clock::now();
        PrivateReply reply;
        ASSERT_TRUE(pClient->Request(CStandInClient::Hello(), reply, SESSION_WAIT_MS + 2000));
        EXPECT_EQ(test.bOpens ? 0u : HR_DEVICE_NOT_CONNECTED, reply.dwResult);
        EXPECT_LT(MillisecondsSince(start), SESSION_WAIT_MS + 1000);
        EXPECT_EQ(test.answers.size(), m_pPasswords->Asked());
        EXPECT_EQ(test.answers.empty() ? 0 : 1, m_pPasswords->Retries());
        if (test.bOpens) {
            ASSERT_TRUE(pClient->Request(CStandInClient::FindAll(LISTING_FLAGS, u"\\*"), reply));
            EXPECT_EQ(1u, reply.dwResult);
        } else {
            EXPECT_TRUE(pClient->IsClosedWithin(1000)) << "a refused handshake ends the connection";
        }
    }
}

// A user who gave up on the password is asked again when the program next
// looks for the handheld, which then opens without being plugged in anew.
TEST_F(BridgeTest, AUserWhoGaveUpIsAskedAgainByTheNextSession)
{
    for (bool bUsb : { true, false }) {
        SCOPED_TRACE(bUsb ? "usb" : "legacy");
        TestHandheldSetup setup;
        setup.bUsb = bUsb;
        setup.nOsMajor = bUsb ? 5 : 4;
        setup.nOsMinor = bUsb ? 2 : 20;
        setup.strPassword = u"1234";
        ASSERT_TRUE(Start(setup, { u"", u"1234" }));
        ASSERT_TRUE(WaitUntilAsked(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_EQ(1u, m_pPasswords->Asked()) << "given up, and not asked again unasked";
        PrivateReply reply;
        ASSERT_TRUE(Connect()->Request(CStandInClient::Hello(), reply, SESSION_WAIT_MS + 2000));
        EXPECT_EQ(0u, reply.dwResult) << "asked again, and answered";
        EXPECT_EQ(2u, m_pPasswords->Asked());
    }
}

// A handheld unlocked on its own screen: the handshake waits for it, with
// one notice shown until the unlock, and fails as not connected when it
// never comes, the notice still shown.
TEST_F(BridgeTest, OnDeviceUnlockIsWaitedForWithinTheBound)
{
    struct Case
    {
        int msUnlockAfter;
        std::uint32_t hrExpected;
    } cases[] = { { 300, 0 }, { -1, HR_DEVICE_NOT_CONNECTED } };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.msUnlockAfter);
        TestHandheldSetup setup;
        setup.bUnlockOnDevice = true;
        setup.msUnlockAfter = test.msUnlockAfter;
        ASSERT_TRUE(Start(setup));
        std::unique_ptr<CStandInClient> pClient = Connect();
        const auto start = std::chrono::steady_clock::now();
        PrivateReply reply;
        ASSERT_TRUE(pClient->Request(CStandInClient::Hello(), reply, SESSION_WAIT_MS + 2000));
        EXPECT_EQ(test.hrExpected, reply.dwResult);
        EXPECT_LT(MillisecondsSince(start), SESSION_WAIT_MS + 1000);
        EXPECT_EQ(1, m_pPasswords->Notices());
        EXPECT_EQ(test.hrExpected != 0, m_pPasswords->NoticeShown());
    }
}

// A handheld that stops answering pings is declared gone: its private
// connections close within the ping bounds, and a new one is told the
// handheld is not connected.
TEST_F(BridgeTest, SilentHandheldIsDeclaredGone)
{
    for (bool bUsb : { true, false }) {
        SCOPED_TRACE(bUsb ? "usb" : "legacy");
        TestHandheldSetup setup;
        setup.bUsb = bUsb;
        ASSERT_TRUE(Start(setup));
        std::unique_ptr<CStandInClient> pClient = Greeted();
        m_pHandheld->FallSilent();
        EXPECT_TRUE(pClient->IsClosedWithin(PING_INTERVAL_MS + PING_ANSWER_MS + 1000));
        std::unique_ptr<CStandInClient> pLater = Connect();
        PrivateReply reply;
        ASSERT_TRUE(pLater->Request(CStandInClient::Hello(), reply, SESSION_WAIT_MS + 2000));
        EXPECT_EQ(HR_DEVICE_NOT_CONNECTED, reply.dwResult);
    }
}

// A handheld whose reply lies (a write of more bytes than given, a name
// with no room for its terminator) can no longer be trusted: the private
// connection ends without a reply.
TEST_F(BridgeTest, HandheldThatLiesEndsTheConnection)
{
    for (bool bListing : { false, true }) {
        SCOPED_TRACE(bListing ? "listing" : "write");
        TestHandheldSetup setup;
        setup.bOverstatesWrites = !bListing;
        setup.bUnterminatedName = bListing;
        ASSERT_TRUE(Start(setup));
        std::unique_ptr<CStandInClient> pClient = Greeted();
        PrivateReply reply;
        ASSERT_TRUE(pClient->Request(CStandInClient::Create(FILE_PATH), reply));
        const std::vector<std::uint8_t> request = bListing
                                                      ? CStandInClient::FindAll(LISTING_FLAGS, u"\\My Documents\\*")
                                                      : CStandInClient::Write(reply.dwResult, Pattern(10, 3));
        EXPECT_FALSE(pClient->Request(request, reply, 3000));
        EXPECT_TRUE(pClient->IsClosedWithin(1000));
    }
}

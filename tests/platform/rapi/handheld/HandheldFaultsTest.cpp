// The fault options in the handheld's own protocol, and frames that lie.
#include "tests/platform/rapi/handheld/HandheldFixture.h"
#include "tests/platform/rapi/handheld/WireRequests.h"
#include "tests/support/FileContents.h"

namespace {
using handheldwire::Call;
using handheldwire::RapiReply;
using handheldwire::RapiVersion;

const RapiVersion VERSIONS[] = { RapiVersion::V1, RapiVersion::V2 };

std::string RapiOption(RapiVersion version)
{
    return version == RapiVersion::V1 ? "--rapi 1 " : "--rapi 2 ";
}

class HandheldFaultsTest : public HandheldTest
{
protected:
    std::unique_ptr<CRapiTestClient> Frames(RapiVersion version, const std::string& strOptions)
    {
        m_pEmulator.reset();
        StartFrames(RapiOption(version) + strOptions);
        return m_pEmulator && m_pEmulator->Port() ? OpenDirectSession(version) : nullptr;
    }
};

// A listing or a search spoiled each way never decodes, in either version.
TEST_F(HandheldFaultsTest, HostileListingsDoNotAddUp)
{
    const char* faults[] = { "unterminated", "overcount", "cut" };
    for (RapiVersion version : VERSIONS) {
        for (const char* pszFault : faults) {
            SCOPED_TRACE(std::string(pszFault) + (version == RapiVersion::V1 ? " V1" : " V2"));
            std::unique_ptr<CRapiTestClient> pClient = Frames(version, std::string("--hostile-listing=") + pszFault);
            ASSERT_TRUE(pClient);
            RapiReply reply;
            EXPECT_FALSE(pClient->Call(wire::FindAll(u"\\*", handheldwire::FAF_NAME), reply));
            EXPECT_FALSE(pClient->Call(wire::Named(Call::FindFirstFile, u"\\*"), reply));
            EXPECT_TRUE(pClient->Call(wire::SpecialFolder(5, 260), reply)) << "only listings and searches are spoiled";
        }
    }
}

TEST_F(HandheldFaultsTest, CutFramesEndHalfwayAndCloseTheSession)
{
    std::unique_ptr<CRapiTestClient> pClient = Frames(RapiVersion::V2, "--cut-frames");
    ASSERT_TRUE(pClient);
    RapiReply reply;
    EXPECT_FALSE(pClient->Call(wire::SpecialFolder(5, 260), reply));
    EXPECT_TRUE(pClient->Link().IsClosedWithin(ANSWER_MS));
}

// Refused: V1 carries the HRESULT after the flag word, V2 fails the call
// with it as the last error.
TEST_F(HandheldFaultsTest, RefusedHandheldFailsEveryCall)
{
    for (RapiVersion version : VERSIONS) {
        std::unique_ptr<CRapiTestClient> pClient = Frames(version, "--refuse=0x80070005");
        ASSERT_TRUE(pClient);
        RapiReply reply;
        ASSERT_TRUE(pClient->Call(wire::Create(u"\\Temp\\a", GENERIC_WRITE, CREATE_ALWAYS), reply));
        if (version == RapiVersion::V1) {
            EXPECT_EQ(0x80070005u, reply.hrFailure);
        } else {
            EXPECT_EQ(0x80070005u, reply.dwLastError);
            EXPECT_EQ(0xFFFFFFFFu, reply.dwResult);
        }
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_root.PathOf("Temp\\a").c_str()));
    }
}

TEST_F(HandheldFaultsTest, SilentHandheldsNeverAnswer)
{
    std::unique_ptr<CRapiTestClient> pClient = Frames(RapiVersion::V2, "--no-handshake");
    ASSERT_TRUE(pClient);
    std::vector<std::uint8_t> reply;
    pClient->Link().Send(
        handheldwire::MakeFrame(handheldwire::EncodeRequest(wire::SpecialFolder(5, 260), RapiVersion::V2)));
    EXPECT_FALSE(pClient->Link().ReceiveSome(reply, QUIET_MS));
    EXPECT_FALSE(pClient->Link().IsClosedWithin(100)) << "silent, not gone";

    m_pEmulator.reset();
    m_pcPort = CTestLink::Listen("127.0.0.1");
    ASSERT_NO_FATAL_FAILURE(
        StartEmulator("--mode usb --trigger-port 0 --no-handshake --control-port " + std::to_string(m_pcPort.Port())));
    ASSERT_TRUE(CTestLink::SendDatagram(DEVICE_ADDRESS, m_pEmulator->Port(), 0x7F));
    CTestLink control = m_pcPort.Accept(START_TIMEOUT_MS);
    ASSERT_TRUE(control.IsValid()) << "the handheld connects, then keeps quiet";
    EXPECT_FALSE(control.ReceiveSome(reply, QUIET_MS));
    EXPECT_FALSE(control.IsClosedWithin(100)) << "silent, not gone";
}

TEST_F(HandheldFaultsTest, CapacityAndDropAfterLimitWrites)
{
    std::unique_ptr<CRapiTestClient> pClient = Frames(RapiVersion::V2, "--capacity 1000");
    ASSERT_TRUE(pClient);
    RapiReply file, written;
    ASSERT_TRUE(pClient->Call(wire::Create(u"\\Temp\\big", GENERIC_WRITE, CREATE_ALWAYS), file));
    ASSERT_TRUE(pClient->Call(wire::Write(file.dwResult, std::string(3000, 'x')), written));
    EXPECT_EQ(1000u, written.cbDone);
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_DISK_FULL), written.dwLastError);
    RapiReply copied;
    ASSERT_TRUE(pClient->Call(wire::OnHandle(Call::CloseHandle, file.dwResult), copied));
    ASSERT_TRUE(pClient->Call(wire::Named(Call::CopyFile, u"\\Temp\\big", u"\\Temp\\copy"), copied));
    EXPECT_EQ(0u, copied.dwResult) << "a copy beyond the capacity";
    EXPECT_EQ(std::string(1000, 'x'), ContentsOf(m_root.PathOf("Temp\\big")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_root.PathOf("Temp\\copy").c_str()));

    pClient = Frames(RapiVersion::V1, "--drop-after 5000");
    ASSERT_TRUE(pClient);
    ASSERT_TRUE(pClient->Call(wire::Create(u"\\Temp\\dropped", GENERIC_WRITE, CREATE_ALWAYS), file));
    ASSERT_TRUE(pClient->Call(wire::Write(file.dwResult, std::string(4000, 'y')), written));
    EXPECT_FALSE(pClient->Call(wire::Write(file.dwResult, std::string(4000, 'y')), written));
    EXPECT_TRUE(pClient->Link().IsClosedWithin(ANSWER_MS));
    EXPECT_EQ(std::string(5000, 'y'), ContentsOf(m_root.PathOf("Temp\\dropped"))) << "what got through is kept";
}

TEST_F(HandheldFaultsTest, LatencyAndThroughputSlowEveryCall)
{
    const struct
    {
        const char* pszOptions;
        size_t cbWrite;
        DWORD dwAtLeastMs;
    } cases[] = {
        { "--latency 400", 10, 400 },
        { "--throughput 64", 65536, 900 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszOptions);
        std::unique_ptr<CRapiTestClient> pClient = Frames(RapiVersion::V2, c.pszOptions);
        ASSERT_TRUE(pClient);
        RapiReply file, written;
        ASSERT_TRUE(pClient->Call(wire::Create(u"\\Temp\\slow", GENERIC_WRITE, CREATE_ALWAYS), file));
        const DWORD dwStart = GetTickCount();
        ASSERT_TRUE(pClient->Call(wire::Write(file.dwResult, std::string(c.cbWrite, 'z')), written));
        EXPECT_GE(GetTickCount() - dwStart, c.dwAtLeastMs);
    }
}

// A frame whose length is 0 or beyond the bound, or whose request does not
// decode, closes the session without a reply.
TEST_F(HandheldFaultsTest, FramesThatLieCloseTheSession)
{
    const std::vector<std::uint8_t> lies[] = {
        { 0, 0, 0, 0 },
        { 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3 },
        { 4, 0, 0, 0, 0xEE, 0xEE, 0, 0 },                        // no such call
        { 8, 0, 0, 0, 0x19, 0, 0, 0, 1, 0, 0, 0, 9, 9, 9, 9 },   // a close with bytes to spare
    };
    for (const auto& lie : lies) {
        std::unique_ptr<CRapiTestClient> pClient = Frames(RapiVersion::V2, "");
        ASSERT_TRUE(pClient);
        pClient->Link().Send(lie);
        EXPECT_TRUE(pClient->Link().IsClosedWithin(ANSWER_MS)) << lie.size() << " bytes";
    }
}
}   // namespace

// The byte examples of the protocol description, encoded and decoded exactly.
#include "platform/handheldwire/LegacyControl.h"
#include "platform/handheldwire/Password.h"
#include "platform/handheldwire/RapiCalls.h"
#include "platform/handheldwire/UsbControl.h"
#include "tests/platform/handheldwire/WireSamples.h"

#include <gtest/gtest.h>

using namespace handheldwire;
using namespace wiretest;

namespace {

RapiRequest CreateA()
{
    RapiRequest request;
    request.call = Call::CreateFile;
    request.strName = u"\\a";
    request.dwAccess = 0x40000000;
    request.dwCreation = 2;
    request.dwFlagsAndAttributes = 0x80;
    return request;
}

RapiRequest DeleteA()
{
    RapiRequest request;
    request.call = Call::DeleteFile;
    request.strName = u"\\a";
    return request;
}

TEST(GoldenBytes, RequestsEncodeAndDecodeAsDocumented)
{
    struct Case
    {
        const char* pszWhat;
        RapiRequest request;
        RapiVersion version;
        const char* pszFrame;
    } cases[] = {
        { "CreateFile V2", CreateA(), RapiVersion::V2,
          "22 00 00 00 | 16 00 00 00 | 06 00 00 00 5C 00 61 00 00 00 | 00 00 00 40 | 00 00 00 00 | 02 00 00 00 | "
          "80 00 00 00 | 00 00 00 00" },
        { "CreateFile V1", CreateA(), RapiVersion::V1,
          "26 00 00 00 | 05 00 00 00 | 00 00 00 40 | 00 00 00 00 | 02 00 00 00 | 80 00 00 00 | 00 00 00 00 | "
          "01 00 00 00 03 00 00 00 5C 00 61 00 00 00" },
        { "DeleteFile V1", DeleteA(), RapiVersion::V1,
          "16 00 00 00 | 1C 00 00 00 | 01 00 00 00 06 00 00 00 01 00 00 00 5C 00 61 00 00 00" },
    };
    for (const Case& c : cases) {
        const Bytes frame = Hex(c.pszFrame);
        EXPECT_EQ(MakeFrame(EncodeRequest(c.request, c.version)), frame) << c.pszWhat;
        RapiRequest decoded;
        ASSERT_TRUE(DecodeRequest(frame.data() + 4, frame.size() - 4, c.version, decoded)) << c.pszWhat;
        EXPECT_TRUE(SameRequest(decoded, c.request)) << c.pszWhat;
    }
}

TEST(GoldenBytes, RepliesEncodeAndDecodeAsDocumented)
{
    RapiReply created;
    created.dwLastError = 0xB7;
    created.dwResult = 0x2A;
    RapiReply listing;
    listing.dwResult = 1;
    FindRecord record;
    record.dwAttributes = 0x80;
    record.strName = u"a";
    listing.records.push_back(record);
    const std::uint32_t dwFlags = FAF_ATTRIBUTES | FAF_NAME;
    struct Case
    {
        const char* pszWhat;
        Call call;
        const RapiReply& reply;
        RapiVersion version;
        const char* pszFrame;
    } cases[] = {
        { "CreateFile V2", Call::CreateFile, created, RapiVersion::V2, "08 00 00 00 | B7 00 00 00 | 2A 00 00 00" },
        { "CreateFile V1", Call::CreateFile, created, RapiVersion::V1,
          "0C 00 00 00 | 00 00 00 00 | B7 00 00 00 | 2A 00 00 00" },
        { "FindAllFiles V2", Call::FindAllFiles, listing, RapiVersion::V2,
          "16 00 00 00 | 00 00 00 00 | 01 00 00 00 | 01 00 00 00 | 02 00 00 00 | 80 00 00 00 | 61 00" },
    };
    for (const Case& c : cases) {
        const Bytes frame = Hex(c.pszFrame);
        EXPECT_EQ(MakeFrame(EncodeReply(c.call, dwFlags, c.reply, c.version)), frame) << c.pszWhat;
        RapiReply decoded;
        ASSERT_TRUE(DecodeReply(c.call, dwFlags, frame.data() + 4, frame.size() - 4, c.version, decoded)) << c.pszWhat;
        EXPECT_TRUE(SameReply(decoded, c.reply)) << c.pszWhat;
    }
    // V1 carries neither last-error nor result in a listing.
    const Bytes v1 = Hex("00 00 00 00 | 01 00 00 00 | 01 00 00 00 | 80 00 00 00 | 61 00");
    RapiReply bare;
    bare.records = listing.records;
    EXPECT_EQ(EncodeReply(Call::FindAllFiles, dwFlags, bare, RapiVersion::V1), v1);
}

TEST(GoldenBytes, UsbHandshakeAndFirstSession)
{
    CUsbControlDevice device(SampleInfo(PASSWORD_NONE));
    CUsbControlPc pc;
    EXPECT_EQ(device.Take(), Hex("00 00 00 00"));
    pc.Feed(Hex("00 00 00 00").data(), 4);
    EXPECT_EQ(pc.Take(), Hex("03 00 00 00"));
    device.Feed(Hex("03 00 00 00").data(), 4);
    EXPECT_EQ(device.Take(), Hex("06 00 00 00"));
    pc.Feed(Hex("06 00 00 00").data(), 4);
    const Bytes options = Hex("07 00 00 00 08 00 00 00 04 00 00 00 05 00 00 00");
    EXPECT_EQ(pc.Take(), options);
    device.Feed(options.data(), options.size());
    const Bytes info = device.Take();
    const Bytes blob = EncodeUsbInfo(SampleInfo(PASSWORD_NONE));
    EXPECT_EQ(info, Concat({ Hex("04 00 00 00"), MakeFrame(blob) }));
    EXPECT_EQ(Bytes(info.end() - 4, info.end()), Hex("00 00 00 00"));
    const auto events = pc.Feed(info.data(), info.size());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, ControlEvent::HandshakeDone);
    EXPECT_EQ(pc.RequestSession(), 1u);
    EXPECT_EQ(pc.Take(), Hex("05 00 00 00 04 00 00 00 01 00 00 00"));
}

TEST(GoldenBytes, LegacyChallengeInfoAndPing)
{
    CLegacyControlDevice device(SampleLegacyInfo(0xAB));
    const Bytes blob = EncodeLegacyInfo(SampleLegacyInfo(0xAB));
    EXPECT_EQ(device.Take(), Concat({ Hex("AB 02 00 00"), MakeFrame(blob) }));
    // "ab" with key 0x5A, the count including the terminator.
    EXPECT_EQ(EncodePassword(u"ab", 0x5A), Hex("06 00 3B 5A 38 5A 5A 5A"));
    CLegacyControlPc pc;
    const Bytes info = MakeFrame(EncodeLegacyInfo(SampleLegacyInfo(0)));
    pc.Feed(info.data(), info.size());
    pc.Ping();
    EXPECT_EQ(pc.Take(), Hex("78 56 34 12"));
    CLegacyControlDevice open(SampleLegacyInfo(0));
    open.Take();
    open.Feed(Hex("78 56 34 12").data(), 4);
    EXPECT_EQ(open.Take(), Hex("78 56 34 12"));
    EXPECT_EQ(EncodeSessionVerdict(true), Hex("01"));
    EXPECT_EQ(EncodeSessionVerdict(false), Hex("00"));
}

}   // namespace

#include "tests/platform/handheldlink/BridgeFixture.h"

#include "platform/handheldlink/PrivateCodec.h"
#include "platform/handheldwire/ByteCodec.h"

namespace {
using handheldwire::CByteWriter;

std::vector<std::uint8_t> Framed(const std::vector<std::uint8_t>& body)
{
    std::vector<std::uint8_t> frame;
    handheldwire::AppendU32(frame, static_cast<std::uint32_t>(body.size()));
    frame.insert(frame.end(), body.begin(), body.end());
    return frame;
}

std::vector<std::uint8_t> WithTail(std::vector<std::uint8_t> body)
{
    body.push_back(0);
    return body;
}

// A write whose count is beyond the bytes that follow it.
std::vector<std::uint8_t> WriteCountBeyondBytes()
{
    std::vector<std::uint8_t> body = CStandInClient::Write(1, std::vector<std::uint8_t>(8));
    body[5] = 9;
    return body;
}

std::vector<std::uint8_t> PathOfUnits(std::uint8_t nOp, std::uint32_t nUnits)
{
    CByteWriter writer;
    writer.U8(nOp);
    writer.U32(nUnits);
    writer.Utf16(std::u16string(nUnits, u'x'));
    return writer.Take();
}

using PrivateFramesTest = BridgeFixture;
}   // namespace

// A frame that lies ends the connection without a reply, whether it comes
// before the handshake or after it, and the bridge serves on.
TEST_F(PrivateFramesTest, FramesThatLieCloseTheConnection)
{
    std::vector<std::uint8_t> tooLong;
    handheldwire::AppendU32(tooLong, handheldlink::MAX_PRIVATE_REQUEST_BYTES + 1);
    struct Case
    {
        const char* pszWhat;
        bool bGreetFirst;
        std::vector<std::uint8_t> bytes;
    } cases[] = {
        { "length 0", true, { 0, 0, 0, 0 } },
        { "length above the bound", true, tooLong },
        { "unknown opcode", true, Framed({ 7 }) },
        { "handshake with a byte too many", false, Framed(WithTail(CStandInClient::Hello())) },
        { "wrong magic", false, Framed({ 1, 0x54, 0x52, 0x50, 0x48, 1, 0, 0, 0 }) },
        { "second handshake", true, Framed(CStandInClient::Hello()) },
        { "listing before the handshake", false, Framed(CStandInClient::FindAll(0x80, u"\\*")) },
        { "write of 64 KiB and one byte", true,
          Framed(CStandInClient::Write(1, std::vector<std::uint8_t>(handheldlink::MAX_PRIVATE_WRITE_BYTES + 1))) },
        { "write count beyond its bytes", true, Framed(WriteCountBeyondBytes()) },
        { "path of 260 units", true, Framed(PathOfUnits(6, 260)) },
        { "close with a byte too many", true, Framed(WithTail(CStandInClient::Close(1))) },
    };
    TestHandheldSetup setup;
    ASSERT_TRUE(Start(setup));
    for (const Case& test : cases) {
        SCOPED_TRACE(test.pszWhat);
        std::unique_ptr<CStandInClient> pClient = test.bGreetFirst ? Greeted() : Connect();
        ASSERT_TRUE(pClient->SendRaw(test.bytes));
        EXPECT_TRUE(pClient->IsClosedWithin(2000));
    }
    std::unique_ptr<CStandInClient> pClient = Greeted();
    PrivateReply reply;
    ASSERT_TRUE(pClient->Request(PathOfUnits(6, 259), reply));
    EXPECT_EQ(2u, reply.dwError) << "a path of 259 units is served";
}

// Records become 560-byte CE_FIND_DATA with the fields in place; a name
// that leaves no room for its terminator is left out and not counted, and
// a failed listing carries no records.
TEST(PrivateCodec, ListingRepliesCarryFindData)
{
    handheldwire::FindRecord record;
    record.dwAttributes = 0x20;
    record.ftCreation = 0x0102030405060708;
    record.ftLastWrite = 0x1112131415161718;
    record.nSizeHigh = 3;
    record.nSizeLow = 0x99;
    record.dwOid = 0x77;
    record.strName = u"b.kda";
    handheldwire::FindRecord longest = record, tooLong = record;
    longest.strName.assign(handheldwire::MAX_NAME_UNITS - 1, u'y');
    tooLong.strName.assign(handheldwire::MAX_NAME_UNITS, u'z');

    const std::vector<std::uint8_t> reply = handheldlink::EncodeListingReply(1, 0, { record, tooLong, longest });
    CByteWriter expected;
    for (std::uint32_t n : { 1u, 0u, 2u })
        expected.U32(n);
    for (const handheldwire::FindRecord* p : { &record, &longest }) {
        expected.U32(p->dwAttributes);
        expected.U64(p->ftCreation);
        expected.U64(0);
        expected.U64(p->ftLastWrite);
        expected.U32(p->nSizeHigh);
        expected.U32(p->nSizeLow);
        expected.U32(p->dwOid);
        expected.Utf16(p->strName);
        expected.Bytes(std::vector<std::uint8_t>(2 * (handheldwire::MAX_NAME_UNITS - p->strName.size())));
    }
    EXPECT_EQ(expected.Data(), reply);

    const std::vector<std::uint8_t> failed = handheldlink::EncodeListingReply(0, 3, { record });
    EXPECT_EQ((std::vector<std::uint8_t>{ 0, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0 }), failed);
}

// The info blocks, the password and the frame assembler: what is encoded
// decodes unchanged, and bytes that lie are refused without a read past them.
#include "platform/handheldwire/ByteCodec.h"
#include "platform/handheldwire/DeviceInfo.h"
#include "platform/handheldwire/Frames.h"
#include "platform/handheldwire/Password.h"
#include "tests/platform/handheldwire/WireSamples.h"

#include <gtest/gtest.h>
#include <cstring>

using namespace handheldwire;
using namespace wiretest;

namespace {

void SetU32(Bytes& bytes, std::size_t nOffset, std::uint32_t n)
{
    for (int i = 0; i < 4; ++i)
        bytes[nOffset + i] = static_cast<std::uint8_t>(n >> (8 * i));
}

TEST(Blocks, UsbInfoRoundTripsWithEveryKindOfKey)
{
    for (std::uint32_t dwKey : { PASSWORD_NONE, PASSWORD_ON_DEVICE, 0x5Au }) {
        const Bytes blob = EncodeUsbInfo(SampleInfo(dwKey));
        DeviceInfo info;
        ASSERT_TRUE(DecodeUsbInfo(blob.data(), blob.size(), info));
        EXPECT_TRUE(SameInfo(info, SampleInfo(dwKey)));
        for (std::size_t cb = 0; cb < blob.size(); ++cb)
            EXPECT_FALSE(DecodeUsbInfo(blob.data(), cb, info)) << "cut to " << cb;
    }
}

TEST(Blocks, UsbInfoTakesExtraDataAfterTheKeyAndRefusesLies)
{
    const Bytes blob = EncodeUsbInfo(SampleInfo(0x5A));
    // Offsets in the sample: name length at 24, its 9 units and terminator,
    // then five words, the platform count at 68 (10 bytes), the model count
    // at 82 (7 bytes + NUL), the component count at 94.
    struct Case
    {
        const char* pszWhat;
        std::size_t nOffset;   // SIZE_MAX: append pszExtra instead
        std::uint32_t nValue;
        const char* pszExtra;
        bool bTaken;
    } cases[] = {
        { "extra data after the key", SIZE_MAX, 0, "03 00 00 00 AA BB CC", true },
        { "no extra data, just its size", SIZE_MAX, 0, "00 00 00 00", true },
        { "extra data shorter than its size", SIZE_MAX, 0, "04 00 00 00 AA", false },
        { "a stray byte after the key", SIZE_MAX, 0, "01", false },
        { "name of 32 units", 24, 32, "", false },
        { "platform count beyond the bytes", 68, 0x7FFFFFFF, "", false },
        { "platform without NUL", 68, 8, "", false },
        { "model count beyond the bytes", 82, 0xFFFFFFFF, "", false },
        { "seven components", 94, 7, "", false },
    };
    for (const Case& c : cases) {
        Bytes lie = blob;
        if (c.nOffset == SIZE_MAX) {
            const Bytes extra = Hex(c.pszExtra);
            lie.insert(lie.end(), extra.begin(), extra.end());
        } else {
            SetU32(lie, c.nOffset, c.nValue);
        }
        DeviceInfo info;
        EXPECT_EQ(DecodeUsbInfo(lie.data(), lie.size(), info), c.bTaken) << c.pszWhat;
        if (c.bTaken) {
            EXPECT_EQ(info.dwPasswordKey, 0x5Au) << c.pszWhat;
        }
    }
}

TEST(Blocks, LegacyInfoRoundTripsAndRefusesStringsOutsideIt)
{
    const DeviceInfo sample = SampleLegacyInfo(PASSWORD_NONE);
    const Bytes blob = EncodeLegacyInfo(sample);
    DeviceInfo expected = sample;
    std::memcpy(expected.guid, blob.data(), sizeof(expected.guid));   // the blob's first bytes stand in
    DeviceInfo info;
    ASSERT_TRUE(DecodeLegacyInfo(blob.data(), blob.size(), info));
    EXPECT_TRUE(SameInfo(info, expected));
    struct Case
    {
        const char* pszWhat;
        std::size_t nOffset;
        std::uint32_t nValue;
    } lies[] = {
        { "name offset past the end", 24, static_cast<std::uint32_t>(blob.size()) },
        { "platform offset far away", 28, 0xFFFFFFF0 },
        { "model at the last byte", 32, static_cast<std::uint32_t>(blob.size() - 1) },
        { "name into the header only", 24, 4 },
    };
    for (const Case& c : lies) {
        Bytes lie = blob;
        SetU32(lie, c.nOffset, c.nValue);
        EXPECT_FALSE(DecodeLegacyInfo(lie.data(), lie.size(), info)) << c.pszWhat;
    }
    Bytes unended = blob;
    unended.resize(unended.size() - 2);   // the model loses its terminator
    EXPECT_FALSE(DecodeLegacyInfo(unended.data(), unended.size(), info));
    EXPECT_FALSE(DecodeLegacyInfo(blob.data(), 35, info));
}

TEST(Blocks, PasswordDecodesWithOrWithoutItsTerminator)
{
    const std::uint8_t nKey = 0xC7;
    const Bytes encoded = EncodePassword(u"pa\u00DFw", nKey);
    ASSERT_EQ(encoded.size(), 2u + 10u);
    struct Case
    {
        const char* pszWhat;
        std::size_t cb;
        bool bTaken;
    } cases[] = {
        { "count with terminator", 10, true },
        { "count without terminator", 8, true },
        { "odd count", 9, false },
    };
    for (const Case& c : cases) {
        std::u16string str;
        EXPECT_EQ(DecodePassword(encoded.data() + 2, c.cb, nKey, str), c.bTaken) << c.pszWhat;
        if (c.bTaken) {
            EXPECT_EQ(str, u"pa\u00DFw") << c.pszWhat;
        }
    }
    std::u16string str;
    const Bytes zeroInside = { 0x61 ^ nKey, nKey, nKey, nKey, 0x62 ^ nKey, nKey };
    EXPECT_FALSE(DecodePassword(zeroInside.data(), zeroInside.size(), nKey, str));
}

TEST(Blocks, FrameAssemblerTakesWholeFramesAndRefusesBadLengths)
{
    const Bytes stream = Concat({ MakeFrame(Hex("01 02 03")), MakeFrame(Hex("04")) });
    for (std::size_t cbChunk : { std::size_t{ 1 }, std::size_t{ 3 }, stream.size() }) {
        CFrameAssembler assembler;
        std::vector<Bytes> frames;
        for (std::size_t n = 0; n < stream.size(); n += cbChunk) {
            assembler.Feed(stream.data() + n, std::min(cbChunk, stream.size() - n));
            Bytes payload;
            while (assembler.Next(payload))
                frames.push_back(payload);
        }
        EXPECT_EQ(frames, (std::vector<Bytes>{ Hex("01 02 03"), Hex("04") })) << "chunks of " << cbChunk;
        EXPECT_FALSE(assembler.IsRefused());
    }
    struct Case
    {
        const char* pszWhat;
        const char* pszBytes;
    } refused[] = {
        { "length 0", "00 00 00 00" },
        { "length above the most", "05 00 00 00" },
    };
    for (const Case& c : refused) {
        CFrameAssembler assembler(4);
        const Bytes bytes = Hex(c.pszBytes);
        assembler.Feed(bytes.data(), bytes.size());
        EXPECT_TRUE(assembler.IsRefused()) << c.pszWhat;
        Bytes payload;
        EXPECT_FALSE(assembler.Next(payload)) << c.pszWhat;
    }
    // A good frame before a bad length is still handed out.
    CFrameAssembler assembler(4);
    const Bytes bytes = Hex("01 00 00 00 AA FF FF FF FF");
    assembler.Feed(bytes.data(), bytes.size());
    Bytes payload;
    EXPECT_TRUE(assembler.Next(payload));
    EXPECT_EQ(payload, Hex("AA"));
    EXPECT_TRUE(assembler.IsRefused());
}

TEST(Blocks, ReaderFailsForGoodOnceARunPastTheEndIsAsked)
{
    const Bytes bytes = Hex("01 02 03 04 05");
    CByteReader reader(bytes.data(), bytes.size());
    std::uint32_t n = 0;
    std::u16string str;
    EXPECT_TRUE(reader.U32(n));
    EXPECT_EQ(n, 0x04030201u);
    EXPECT_FALSE(reader.Utf16(1, str));
    std::uint8_t b = 0;
    EXPECT_FALSE(reader.U8(b));
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.Remaining(), 0u);
}

}   // namespace

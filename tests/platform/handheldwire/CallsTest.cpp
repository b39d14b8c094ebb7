// Requests and replies of every call in both versions: what one side
// encodes the other decodes unchanged, and a payload that lies about its
// own lengths, ends early or runs on is refused.
#include "platform/handheldwire/RapiCalls.h"
#include "tests/platform/handheldwire/WireSamples.h"

#include <gtest/gtest.h>
#include <cstdint>

using namespace handheldwire;
using namespace wiretest;

namespace {

constexpr RapiVersion VERSIONS[] = { RapiVersion::V1, RapiVersion::V2 };

struct ReplyCase
{
    Call call;
    std::uint32_t dwFlags;
};

std::vector<ReplyCase> ReplyCases()
{
    std::vector<ReplyCase> cases;
    for (Call call : ALL_CALLS) {
        if (call != Call::FindAllFiles)
            cases.push_back({ call, 0 });
    }
    for (std::uint32_t dwFlags : ListingFlags())
        cases.push_back({ Call::FindAllFiles, dwFlags });
    return cases;
}

// The payload cut at every length but cbFine, and with one byte more: none decodes.
template <class Decode>
void ExpectRefusedWhenCutOrRunOn(const Bytes& payload, Decode decode, const std::string& strWhat,
                                 std::size_t cbFine = SIZE_MAX)
{
    for (std::size_t cb = 0; cb < payload.size(); ++cb) {
        if (cb == cbFine)
            continue;
        const Bytes cut(payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(cb));
        EXPECT_FALSE(decode(cut)) << strWhat << " cut to " << cb;
    }
    Bytes runOn = payload;
    runOn.push_back(0);
    EXPECT_FALSE(decode(runOn)) << strWhat << " run on";
}

TEST(Calls, CodesAreDistinctWithinAVersionAndMapBack)
{
    for (RapiVersion version : VERSIONS) {
        for (Call call : ALL_CALLS) {
            Call back = Call::CreateFile;
            ASSERT_TRUE(CallOfCode(CommandCode(call, version), version, back));
            EXPECT_EQ(back, call);
        }
        Call unknown;
        EXPECT_FALSE(CallOfCode(0x1234, version, unknown));
    }
    EXPECT_EQ(CommandCode(Call::GetSpecialFolderPath, RapiVersion::V1), 0x44u);
    EXPECT_EQ(CommandCode(Call::FindAllFiles, RapiVersion::V2), 0x1Au);
}

TEST(Calls, EveryRequestRoundTripsAndRefusesCutsAndRunOns)
{
    for (RapiVersion version : VERSIONS) {
        for (Call call : ALL_CALLS) {
            const std::string strWhat =
                "call " + std::to_string(static_cast<int>(call)) + " V" + std::to_string(static_cast<int>(version) + 1);
            const RapiRequest request = SampleRequest(call);
            const Bytes payload = EncodeRequest(request, version);
            RapiRequest decoded;
            ASSERT_TRUE(DecodeRequest(payload.data(), payload.size(), version, decoded)) << strWhat;
            EXPECT_TRUE(SameRequest(decoded, request)) << strWhat;
            ExpectRefusedWhenCutOrRunOn(
                payload,
                [version](const Bytes& bytes) {
                    RapiRequest r;
                    return DecodeRequest(bytes.data(), bytes.size(), version, r);
                },
                strWhat);
        }
    }
}

TEST(Calls, EveryReplyRoundTripsAndRefusesCutsAndRunOns)
{
    for (RapiVersion version : VERSIONS) {
        for (const ReplyCase& c : ReplyCases()) {
            const std::string strWhat = "call " + std::to_string(static_cast<int>(c.call)) + " flags "
                                        + std::to_string(c.dwFlags) + " V"
                                        + std::to_string(static_cast<int>(version) + 1);
            RapiReply reply = SampleReply(c.call, c.dwFlags);
            if (c.call == Call::FindAllFiles && version == RapiVersion::V1)
                reply.dwResult = 0;   // not carried in V1
            const Bytes payload = EncodeReply(c.call, c.dwFlags, reply, version);
            RapiReply decoded;
            ASSERT_TRUE(DecodeReply(c.call, c.dwFlags, payload.data(), payload.size(), version, decoded)) << strWhat;
            EXPECT_TRUE(SameReply(decoded, reply)) << strWhat;
            // The folder path is taken with or without the terminator after it.
            const std::size_t cbFine = c.call == Call::GetSpecialFolderPath ? payload.size() - 2 : SIZE_MAX;
            ExpectRefusedWhenCutOrRunOn(
                payload,
                [&c, version](const Bytes& bytes) {
                    RapiReply r;
                    return DecodeReply(c.call, c.dwFlags, bytes.data(), bytes.size(), version, r);
                },
                strWhat, cbFine);
        }
    }
}

TEST(Calls, RequestsThatLieAreRefused)
{
    const std::string strLong = std::string("05 00 00 00 | 00 00 00 40 | 00 00 00 00 | 02 00 00 00 | 80 00 00 00 | ")
                                + "00 00 00 00 | 01 00 00 00 05 01 00 00 | ";
    std::string strUnits;
    for (int i = 0; i < 260; ++i)
        strUnits += "78 00 ";
    struct Case
    {
        const char* pszWhat;
        RapiVersion version;
        std::string strPayload;
    } cases[] = {
        { "name of 261 units", RapiVersion::V1, strLong + strUnits + "00 00" },
        { "data count beyond the bytes", RapiVersion::V1,
          "07 00 00 00 | 07 00 00 00 | 01 00 00 00 FF FF FF 7F AA | 00 00 00 00" },
        { "name count beyond the bytes", RapiVersion::V1, "03 00 00 00 | 01 00 00 00 FF FF FF FF | 5C 00 00 00" },
        { "odd name bytes", RapiVersion::V2, "2D 00 00 00 | 03 00 00 00 | 5C 00 00" },
        { "name without terminator", RapiVersion::V2, "2D 00 00 00 | 04 00 00 00 | 5C 00 61 00" },
        { "zero inside a name", RapiVersion::V2, "2D 00 00 00 | 06 00 00 00 | 5C 00 00 00 00 00" },
        { "empty name field", RapiVersion::V2, "2D 00 00 00 | 00 00 00 00" },
        { "null name", RapiVersion::V1, "1C 00 00 00 | 00 00 00 00" },
        { "write count beyond the bytes", RapiVersion::V2, "18 00 00 00 | 07 00 00 00 | FF FF FF FF | 00" },
        { "write with an OVERLAPPED", RapiVersion::V1,
          "07 00 00 00 | 07 00 00 00 | 01 00 00 00 01 00 00 00 AA | 01 00 00 00" },
        { "unknown code", RapiVersion::V2, "99 00 00 00" },
        { "nothing", RapiVersion::V2, "" },
    };
    for (const Case& c : cases) {
        const Bytes payload = Hex(c.strPayload.c_str());
        RapiRequest request;
        EXPECT_FALSE(DecodeRequest(payload.data(), payload.size(), c.version, request)) << c.pszWhat;
    }
}

TEST(Calls, RepliesAreTakenOrRefusedAsTheirBytesAllow)
{
    const std::uint32_t dwNamed = FAF_ATTRIBUTES | FAF_NAME;
    struct Case
    {
        const char* pszWhat;
        Call call;
        std::uint32_t dwFlags;
        RapiVersion version;
        const char* pszPayload;
        bool bTaken;
        std::uint32_t hrFailure = 0;
        std::u16string strName = u"";   // of the first record, when taken
    } cases[] = {
        { "failure flag 1", Call::CloseHandle, 0, RapiVersion::V1, "01 00 00 00 | 05 40 00 80", true, 0x80004005 },
        { "any non-zero flag", Call::CloseHandle, 0, RapiVersion::V1, "02 00 00 00 | 05 40 00 80", true, 0x80004005 },
        { "failure with more after it", Call::CloseHandle, 0, RapiVersion::V1, "01 00 00 00 | 05 40 00 80 | 00",
          false },
        { "flag with a zero HRESULT", Call::CloseHandle, 0, RapiVersion::V1,
          "01 00 00 00 | 00 00 00 00 | 00 00 00 00 | 01 00 00 00", true },
        { "count beyond the bytes", Call::FindAllFiles, dwNamed, RapiVersion::V2,
          "00 00 00 00 | 01 00 00 00 | 00 00 00 10 | 02 00 00 00 | 80 00 00 00 | 61 00", false },
        { "name of 261 units", Call::FindAllFiles, FAF_NAME, RapiVersion::V1, "00 00 00 00 | 01 00 00 00 | 05 01 00 00",
          false },
        { "odd name bytes", Call::FindAllFiles, FAF_NAME, RapiVersion::V2,
          "00 00 00 00 | 00 00 00 00 | 01 00 00 00 | 03 00 00 00 | 61 00 62", false },
        { "name with its terminator, V1", Call::FindAllFiles, dwNamed, RapiVersion::V1,
          "00 00 00 00 | 01 00 00 00 | 02 00 00 00 | 80 00 00 00 | 61 00 00 00", true, 0, u"a" },
        { "name with its terminator, V2", Call::FindAllFiles, dwNamed, RapiVersion::V2,
          "00 00 00 00 | 01 00 00 00 | 01 00 00 00 | 04 00 00 00 | 80 00 00 00 | 61 00 00 00", true, 0, u"a" },
        { "zero inside a listed name", Call::FindAllFiles, FAF_NAME, RapiVersion::V1,
          "00 00 00 00 | 01 00 00 00 | 03 00 00 00 | 61 00 00 00 62 00", false },
        { "read count beyond the bytes", Call::ReadFile, 0, RapiVersion::V2,
          "00 00 00 00 | 01 00 00 00 | 05 00 00 00 | 01 02 03 04", false },
        { "find data of an odd size", Call::FindFirstFile, 0, RapiVersion::V2,
          "00 00 00 00 | FF FF FF FF | 2B 00 00 00", false },
        { "no find data", Call::FindFirstFile, 0, RapiVersion::V2, "12 00 00 00 | FF FF FF FF | 00 00 00 00", true },
        { "short find data ending its name", Call::FindFirstFile, 0, RapiVersion::V2,
          "00 00 00 00 | 01 00 00 00 | 2E 00 00 00 | 10 00 00 00 | 00000000 00000000 00000000 00000000 00000000 "
          "00000000 | 00 00 00 00 | 07 00 00 00 | 00 00 00 00 | 61 00 62 00 00 00",
          true, 0, u"ab" },
        { "folder path count beyond the bytes", Call::GetSpecialFolderPath, 0, RapiVersion::V2,
          "00 00 00 00 | FF FF FF FF | 5C 00", false },
    };
    for (const Case& c : cases) {
        const Bytes payload = Hex(c.pszPayload);
        RapiReply reply;
        ASSERT_EQ(DecodeReply(c.call, c.dwFlags, payload.data(), payload.size(), c.version, reply), c.bTaken)
            << c.pszWhat;
        EXPECT_EQ(reply.hrFailure, c.hrFailure) << c.pszWhat;
        if (!c.strName.empty()) {
            ASSERT_EQ(reply.records.size(), 1u) << c.pszWhat;
            EXPECT_EQ(reply.records[0].strName, c.strName) << c.pszWhat;
        }
    }
}

}   // namespace

// Every call in each mode and version, against the host folder the
// handheld serves.
#include "tests/platform/rapi/handheld/HandheldFixture.h"
#include "tests/platform/rapi/handheld/WireRequests.h"
#include "tests/support/FileContents.h"

// After the fixture, which brings the winsock header in ahead of the Windows one.
#include "platform/rapi/rapi.h"

namespace {
using handheldwire::Call;
using handheldwire::RapiReply;
using handheldwire::RapiVersion;

constexpr std::uint32_t ALL_FIELDS = 0xFF;

// A megabyte and a bit of bytes that differ from chunk to chunk.
std::string Pattern(size_t cb)
{
    std::string str(cb, '\0');
    for (size_t i = 0; i < cb; ++i)
        str[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return str;
}

RapiReply Answer(CRapiTestClient& client, const handheldwire::RapiRequest& request)
{
    RapiReply reply;
    EXPECT_TRUE(client.Call(request, reply)) << "call " << static_cast<int>(request.call);
    return reply;
}

// Writes a file in chunks, reads it back, lists, copies, moves, deletes:
// every call of the library once or more.
void RunEveryCall(CRapiTestClient& client, const CTempFolder& root)
{
    const std::string strData = Pattern(150000);
    EXPECT_EQ(1u, Answer(client, wire::Named(Call::CreateDirectory, u"\\My Documents\\d")).dwResult);
    RapiReply created = Answer(client, wire::Create(u"\\My Documents\\d\\a.bin", GENERIC_WRITE, CREATE_ALWAYS));
    ASSERT_NE(0xFFFFFFFFu, created.dwResult);
    for (size_t n = 0; n < strData.size(); n += 65536) {
        RapiReply written = Answer(client, wire::Write(created.dwResult, strData.substr(n, 65536)));
        EXPECT_EQ(1u, written.dwResult);
        EXPECT_EQ(std::min<size_t>(65536, strData.size() - n), written.cbDone);
    }
    EXPECT_EQ(1u, Answer(client, wire::OnHandle(Call::CloseHandle, created.dwResult)).dwResult);
    EXPECT_EQ(strData, ContentsOf(root.PathOf("My Documents\\d\\a.bin")));

    RapiReply opened = Answer(client, wire::Create(u"\\My Documents\\d\\a.bin", GENERIC_READ, OPEN_EXISTING));
    std::string strRead;
    for (RapiReply read; (read = Answer(client, wire::Read(opened.dwResult, 40000))).cbDone > 0;)
        strRead.append(read.data.begin(), read.data.end());
    EXPECT_EQ(strData, strRead);
    EXPECT_EQ(1u, Answer(client, wire::OnHandle(Call::CloseHandle, opened.dwResult)).dwResult);

    EXPECT_EQ(static_cast<std::uint32_t>(FILE_ATTRIBUTE_DIRECTORY),
              Answer(client, wire::Named(Call::GetFileAttributes, u"\\My Documents\\d")).dwResult);
    RapiReply listing = Answer(client, wire::FindAll(u"\\My Documents\\d\\*", ALL_FIELDS));
    ASSERT_EQ(1u, listing.records.size());
    EXPECT_EQ(u"a.bin", listing.records[0].strName);
    EXPECT_EQ(strData.size(), listing.records[0].nSizeLow);
    EXPECT_NE(0u, listing.records[0].ftLastWrite);

    RapiReply first = Answer(client, wire::Named(Call::FindFirstFile, u"\\My Documents\\d\\*.bin"));
    ASSERT_EQ(1u, first.records.size());
    EXPECT_EQ(listing.records[0], first.records[0]);
    EXPECT_EQ(1u, Answer(client, wire::OnHandle(Call::FindClose, first.dwResult)).dwResult);

    handheldwire::RapiRequest copy = wire::Named(Call::CopyFile, u"\\My Documents\\d\\a.bin", u"\\My Documents\\b.bin");
    EXPECT_EQ(1u, Answer(client, copy).dwResult);
    copy.bFailIfExists = true;
    EXPECT_EQ(0u, Answer(client, copy).dwResult);
    copy.bFailIfExists = false;
    EXPECT_EQ(1u, Answer(client, copy).dwResult) << "a copy over a file of the same size";
    EXPECT_EQ(1u, Answer(client, wire::Named(Call::MoveFile, u"\\My Documents\\b.bin", u"\\Temp\\c.bin")).dwResult);
    EXPECT_EQ(0u, Answer(client, wire::Named(Call::RemoveDirectory, u"\\My Documents\\d")).dwResult);
    EXPECT_EQ(1u, Answer(client, wire::Named(Call::DeleteFile, u"\\My Documents\\d\\a.bin")).dwResult);
    EXPECT_EQ(1u, Answer(client, wire::Named(Call::RemoveDirectory, u"\\My Documents\\d")).dwResult);
    EXPECT_EQ(u"\\My Documents", Answer(client, wire::SpecialFolder(5, 260)).strPath);

    EXPECT_EQ(strData, ContentsOf(root.PathOf("Temp\\c.bin")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(root.PathOf("My Documents\\b.bin").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(root.PathOf("My Documents\\d").c_str()));
}

enum class Mode
{
    Usb,
    Legacy,
    Frames
};

struct ModeCase
{
    Mode mode;
    const char* pszOptions;
    RapiVersion version;
};

class HandheldCallsTest : public HandheldTest, public testing::WithParamInterface<ModeCase>
{
protected:
    std::unique_ptr<CRapiTestClient> Open()
    {
        const ModeCase& c = GetParam();
        if (c.mode == Mode::Usb) {
            StartUsb(c.pszOptions);
            return m_pUsb ? OpenUsbSession(c.version) : nullptr;
        }
        if (c.mode == Mode::Legacy)
            StartLegacy(c.pszOptions);
        else
            StartFrames(c.pszOptions);
        return m_pEmulator && m_pEmulator->Port() ? OpenDirectSession(c.version) : nullptr;
    }
};

TEST_P(HandheldCallsTest, EveryCallReachesTheHostFolder)
{
    std::unique_ptr<CRapiTestClient> pClient = Open();
    ASSERT_TRUE(pClient) << "no session";
    RunEveryCall(*pClient, m_root);
}

INSTANTIATE_TEST_SUITE_P(Modes, HandheldCallsTest,
                         testing::Values(ModeCase{ Mode::Usb, "--os 5.2", RapiVersion::V2 },
                                         ModeCase{ Mode::Usb, "--os 5.1", RapiVersion::V2 },
                                         ModeCase{ Mode::Usb, "--os 5.2 --rapi 1", RapiVersion::V1 },
                                         ModeCase{ Mode::Legacy, "", RapiVersion::V1 },
                                         ModeCase{ Mode::Frames, "--rapi 1", RapiVersion::V1 },
                                         ModeCase{ Mode::Frames, "--rapi 2", RapiVersion::V2 }));

// The paths a handheld must not let out of its folder, and a special
// folder it does not know, in both versions.
TEST_F(HandheldTest, RefusedPathsAndUnknownFoldersFailAsCalls)
{
    ASSERT_NO_FATAL_FAILURE(StartFrames("--rapi 2"));
    std::unique_ptr<CRapiTestClient> pClient = OpenDirectSession(RapiVersion::V2);
    ASSERT_TRUE(pClient);
    const struct
    {
        handheldwire::RapiRequest request;
        std::uint32_t dwResult;
    } cases[] = {
        { wire::Create(u"\\..\\outside.bin", GENERIC_WRITE, CREATE_ALWAYS), 0xFFFFFFFF },
        { wire::Named(Call::CreateDirectory, u"\\My Documents\\..\\..\\x"), 0 },
        { wire::Named(Call::CopyFile, u"\\Temp\\none", u"\\C:\\x"), 0 },
        { wire::Named(Call::GetFileAttributes, u"\\nothing here"), 0xFFFFFFFF },
        { wire::Named(Call::FindFirstFile, u"\\Temp\\*.none"), 0xFFFFFFFF },
    };
    for (const auto& c : cases) {
        RapiReply reply = Answer(*pClient, c.request);
        EXPECT_EQ(c.dwResult, reply.dwResult) << static_cast<int>(c.request.call);
        EXPECT_NE(0u, reply.dwLastError) << static_cast<int>(c.request.call);
    }
    RapiReply unknown = Answer(*pClient, wire::SpecialFolder(0x26, 260));
    EXPECT_TRUE(unknown.strPath.empty());
    EXPECT_TRUE(Answer(*pClient, wire::SpecialFolder(5, 13)).strPath.empty()) << "a buffer too short for the path";
}

// The hidden ROM folders and hidden entries stay out where the flags say.
TEST_F(HandheldTest, ListingFiltersKeepToTheirFlags)
{
    ASSERT_NO_FATAL_FAILURE(StartFrames("--rapi 1"));
    std::unique_ptr<CRapiTestClient> pClient = OpenDirectSession(RapiVersion::V1);
    ASSERT_TRUE(pClient);
    const struct
    {
        std::uint32_t dwFlags;
        bool bRomShown;
    } cases[] = {
        { handheldwire::FAF_NAME, true },
        { handheldwire::FAF_NAME | handheldwire::FAF_ATTRIB_NO_HIDDEN, false },
        { handheldwire::FAF_NAME | handheldwire::FAF_NO_HIDDEN_SYS_ROMMODULES, false },
    };
    for (const auto& c : cases) {
        RapiReply listing = Answer(*pClient, wire::FindAll(u"\\*", c.dwFlags));
        bool bRom = false;
        for (const auto& record : listing.records)
            bRom |= record.strName == u"ROM Modules";
        EXPECT_EQ(c.bRomShown, bRom) << std::hex << c.dwFlags;
        EXPECT_GE(listing.records.size(), 5u);
    }
}

// A folder moved takes the attributes of everything below it along, and a
// new folder at the old name starts plain.
TEST_F(HandheldTest, MovedFoldersKeepTheAttributesBelowThem)
{
    ASSERT_NO_FATAL_FAILURE(StartFrames("--rapi 2"));
    std::unique_ptr<CRapiTestClient> pClient = OpenDirectSession(RapiVersion::V2);
    ASSERT_TRUE(pClient);
    ASSERT_EQ(1u, Answer(*pClient, wire::Named(Call::MoveFile, u"\\Windows", u"\\Moved")).dwResult);
    ASSERT_EQ(1u, Answer(*pClient, wire::Named(Call::CreateDirectory, u"\\Windows")).dwResult);
    constexpr std::uint32_t ROM_FOLDER =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_INROM;
    const struct
    {
        const char16_t* pszPath;
        std::uint32_t dwAttributes;
    } cases[] = {
        { u"\\Moved", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM },
        { u"\\Moved\\Fonts", ROM_FOLDER },
        { u"\\Moved\\Start Menu", FILE_ATTRIBUTE_DIRECTORY },
        { u"\\Windows", FILE_ATTRIBUTE_DIRECTORY },
        { u"\\Windows\\Fonts", INVALID_FILE_ATTRIBUTES },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pszPath, c.pszPath + std::char_traits<char16_t>::length(c.pszPath)));
        EXPECT_EQ(c.dwAttributes, Answer(*pClient, wire::Named(Call::GetFileAttributes, c.pszPath)).dwResult);
    }
}
}   // namespace

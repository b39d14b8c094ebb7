// A handheld that misbehaves: the cable pulled mid-write, a link too slow
// to answer, paths that try to leave the served folder, and requests that
// make no sense. The library's calls end in bounded time; the emulator
// keeps serving.
#include "tests/platform/rapi/StandInFixture.h"

#include <algorithm>

using namespace std::string_literals;

namespace {
// The library's bound on one call, and a generous margin above it.
constexpr DWORD CALL_BOUND_MS = 5000;
constexpr DWORD WELL_WITHIN_BOUND_MS = 1000;

HANDLE CreateAlways(const wchar_t* pszPath)
{
    return CeCreateFile(pszPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
}

// The folder's entries whose names start with strPrefix (all of them for
// an empty prefix), sorted.
std::vector<std::string> HostEntries(const std::string& strFolder, const std::string& strPrefix = std::string())
{
    std::vector<std::string> entries;
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA((strFolder + "\\" + strPrefix + "*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return entries;
    do
        entries.push_back(found.cFileName);
    while (FindNextFileA(hFind, &found));
    FindClose(hFind);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::string ParentOf(const std::string& strPath)
{
    return strPath.substr(0, strPath.rfind('\\'));
}

using StandInFaultsTest = StandInTest;

TEST_F(StandInFaultsTest, PulledCableFailsTheWriteAndEveryLaterCall)
{
    ASSERT_NO_FATAL_FAILURE(Connect("--drop-after 100000"));
    std::string strBlock(65536, 'k');
    HANDLE hFile = CreateAlways(L"\\Storage Card\\dict.kda");
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    DWORD cbWritten = 0;
    EXPECT_TRUE(CeWriteFile(hFile, strBlock.data(), 65536, &cbWritten, nullptr));
    // A call the handheld refuses is no fault of the link.
    EXPECT_FALSE(CeDeleteFile(L"\\Storage Card\\missing.kda"));
    EXPECT_EQ(S_OK, CeRapiGetError());

    DWORD dwStart = GetTickCount();
    EXPECT_FALSE(CeWriteFile(hFile, strBlock.data(), 65536, &cbWritten, nullptr));
    EXPECT_EQ(DWORD(0), cbWritten) << "no reply, so nothing is known to be written";
    EXPECT_LT(ElapsedSince(dwStart), CALL_BOUND_MS + WELL_WITHIN_BOUND_MS);
    EXPECT_EQ(DWORD(ERROR_DEVICE_NOT_CONNECTED), CeGetLastError());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), CeRapiGetError()) << "the link failed the call";

    dwStart = GetTickCount();
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateAlways(L"\\Storage Card\\next.kda"));
    EXPECT_FALSE(ListFiles(L"\\*", FAF_NAME).bOk);
    EXPECT_FALSE(CeDeleteFile(L"\\Storage Card\\dict.kda"));
    EXPECT_FALSE(CeCloseHandle(hFile));
    EXPECT_LT(ElapsedSince(dwStart), WELL_WITHIN_BOUND_MS);
    EXPECT_EQ(DWORD(ERROR_DEVICE_NOT_CONNECTED), CeGetLastError());
    EXPECT_EQ(size_t(100000), ReadHostFile(m_root.PathOf("Storage Card\\dict.kda")).size());
}

// Every call of this handheld takes longer than the library waits.
TEST_F(StandInFaultsTest, HandheldThatStopsAnsweringFailsWithinTheBound)
{
    ASSERT_NO_FATAL_FAILURE(Connect("--latency 8000"));
    DWORD dwStart = GetTickCount();
    EXPECT_FALSE(ListFiles(L"\\*", FAF_NAME).bOk);
    DWORD dwElapsed = ElapsedSince(dwStart);
    EXPECT_GE(dwElapsed, CALL_BOUND_MS - WELL_WITHIN_BOUND_MS);
    EXPECT_LT(dwElapsed, CALL_BOUND_MS + 2 * WELL_WITHIN_BOUND_MS);

    dwStart = GetTickCount();
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateAlways(L"\\Temp\\late.kda"));
    EXPECT_LT(ElapsedSince(dwStart), WELL_WITHIN_BOUND_MS);
}

// A slow cable: the reply begins just inside the bound and then trickles
// in for seconds. The call still ends within its bound, not a bound later.
TEST_F(StandInFaultsTest, ReplyThatBeginsLateAndTricklesFailsWithinTheBound)
{
    for (int i = 0; i < 40; ++i)
        m_root.MakeFolder("Temp\\" + std::to_string(i) + std::string(60, 'f'));
    ASSERT_NO_FATAL_FAILURE(Connect("--latency 4000 --throughput 1"));
    const DWORD dwStart = GetTickCount();
    EXPECT_FALSE(ListFiles(L"\\Temp\\*", FAF_NAME).bOk);
    const DWORD dwElapsed = ElapsedSince(dwStart);
    EXPECT_GE(dwElapsed, CALL_BOUND_MS - WELL_WITHIN_BOUND_MS);
    EXPECT_LT(dwElapsed, CALL_BOUND_MS + WELL_WITHIN_BOUND_MS);
}

TEST_F(StandInFaultsTest, PathsOutsideTheHandheldAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    // Other tests make and remove their folders beside this one meanwhile.
    std::vector<std::string> parentBefore = HostEntries(ParentOf(m_root.Path()), "escape");
    std::vector<std::string> rootBefore = HostEntries(m_root.Path());
    const wchar_t* const badPaths[] = {
        L"\\..\\escape.txt",
        L"\\My Documents\\..\\..\\escape.txt",
        L"\\My Documents/../../escape.txt",
        L"\\.\\escape.txt",
        L"C:\\escape.txt",
        L"\\C:\\escape.txt",
        L"\\C:escape.txt",
        L"\\Temp\\file.txt:stream",
        L"escape.txt",
        L"\\\\server\\share\\escape.txt",
        L"\\My Documents\\\\escape.txt",
        L"\\Temp\\",
        L"\\",
        L"\\CON",
        L"\\Temp\\nul.txt",
        L"\\Temp\\COM1",
        L"\\Temp\\lpt9.log",
        L"\\Temp\\escape.",
        L"\\Temp\\escape ",
        L"\\Temp\\...",
        L"\\Temp\\a*b",
        L"\\Temp\\tab\there",
        L"\\.handheld-attributes",
        L"\\.HANDHELD-ATTRIBUTES.new",
    };
    for (const wchar_t* pszPath : badPaths) {
        EXPECT_EQ(INVALID_HANDLE_VALUE, CreateAlways(pszPath)) << pszPath;
        EXPECT_FALSE(CeDeleteFile(pszPath)) << pszPath;
        EXPECT_FALSE(ListFiles(std::wstring(pszPath) + L"\\*", FAF_NAME).bOk) << pszPath;
    }
    EXPECT_EQ(parentBefore, HostEntries(ParentOf(m_root.Path()), "escape"));
    EXPECT_EQ(rootBefore, HostEntries(m_root.Path()));
    EXPECT_TRUE(ListFiles(L"\\*", FAF_NAME).bOk) << "the session survives refused paths";

    std::wstring strTooLong = L"\\Temp\\" + std::wstring(300, L'x');
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateAlways(strTooLong.c_str()));
    EXPECT_EQ(DWORD(ERROR_FILENAME_EXCED_RANGE), CeGetLastError());
}

// Raw connections that break the protocol in one way each. The emulator
// drops each of them and goes on serving the library.
class CRawClient
{
public:
    explicit CRawClient(WORD nPort)
    {
        m_s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = htons(nPort);
        m_bConnected = connect(m_s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
        DWORD dwTimeout = 15000;
        setsockopt(m_s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&dwTimeout), sizeof(dwTimeout));
    }
    ~CRawClient() { closesocket(m_s); }

    bool IsConnected() const { return m_bConnected; }
    void Send(const std::string& strBytes) { send(m_s, strBytes.data(), static_cast<int>(strBytes.size()), 0); }
    // True when the peer closed the connection (rather than the wait ending).
    bool IsClosedByPeer()
    {
        char buffer[256];
        int nReceived;
        while ((nReceived = recv(m_s, buffer, sizeof(buffer), 0)) > 0)
            ;
        return nReceived == 0 || WSAGetLastError() == WSAECONNRESET;
    }

private:
    SOCKET m_s;
    bool m_bConnected;
};

std::string Dword(DWORD dw)
{
    return std::string(reinterpret_cast<const char*>(&dw), 4);
}

std::string Frame(const std::string& strBody)
{
    return Dword(static_cast<DWORD>(strBody.size())) + strBody;
}

const std::string HELLO = Frame(std::string("\x01", 1) + Dword(0x49505254) + Dword(1));

TEST_F(StandInFaultsTest, MalformedRequestsDropOnlyTheirConnection)
{
    ASSERT_NO_FATAL_FAILURE(Connect());
    const struct
    {
        const char* pszCase;
        std::string strBytes;
    } cases[] = {
        { "empty frame", Dword(0) },
        { "oversized frame", Dword(0x7FFFFFFF) + "xxxx" },
        { "truncated frame", Dword(100) + "only ten b" },
        { "request before the handshake", Frame(std::string("\x06", 1) + Dword(1) + "\\\0"s) },
        { "wrong handshake", Frame(std::string("\x01", 1) + Dword(0x12345678) + Dword(1)) },
        { "unknown opcode", HELLO + Frame("\x63") },
        { "string longer than its frame", HELLO + Frame(std::string("\x06", 1) + Dword(200) + "\\\0"s) },
        { "write larger than allowed", HELLO + Frame(std::string("\x04", 1) + Dword(1) + Dword(0x20000)) },
        { "trailing bytes", HELLO + Frame(std::string("\x05", 1) + Dword(1) + "extra") },
    };
    for (const auto& c : cases) {
        CRawClient client(m_pEmulator->Port());
        ASSERT_TRUE(client.IsConnected()) << c.pszCase;
        client.Send(c.strBytes);
        EXPECT_TRUE(client.IsClosedByPeer()) << c.pszCase;
    }
    EXPECT_TRUE(ListFiles(L"\\*", FAF_NAME).bOk);
    EXPECT_TRUE(WriteHandheldFile(L"\\Temp\\after.kda", "still serving"));
}
}   // namespace

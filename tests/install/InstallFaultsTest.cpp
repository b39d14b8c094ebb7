// Installations that go wrong at every chunk boundary of a file: the
// handheld dropping the link there, the user pressing Cancel there, and a
// local volume running full. Each run ends with the right message (or
// none) and code, leaves every earlier file whole, and leaves no partial
// file but after a failed write the user let stand.
#include "tests/install/InstallFixture.h"

#include "install/FreeSpace.h"

namespace {

constexpr int CHUNK = 65536;

using InstallFaultsTest = InstallTest;

TEST_F(InstallFaultsTest, AtEveryChunkBoundaryOfAFourChunkFile)
{
    AddSource("first.kda", 1000, 'f');
    AddSource("big.kda", 4 * CHUNK, 'b');
    const struct
    {
        bool bDrop;   // the handheld drops there; else Cancel is pressed there
        int nChunk;   // the boundary: after this many chunks of big.kda
        int nResult;
        bool bMessage;
        bool bBigStays;
    } cases[] = {
        // A dropped link fails the next write: 410, and OK (the only
        // answer for the last file) leaves the partial file.
        { true, 0, 1, true, true },
        { true, 1, 1, true, true },
        { true, 2, 1, true, true },
        { true, 3, 1, true, true },
        // Cancel pressed as the bar shows chunk n - 1 is seen at the next
        // report, after chunk n, and obeyed after chunk n + 1: with no
        // chunk n + 1 left the file is whole.
        { false, 1, 0, false, false },
        { false, 2, 0, false, false },
        { false, 3, 1, false, true },
        { false, 4, 1, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.bDrop ? "drop after chunk " : "Cancel after chunk ") + std::to_string(c.nChunk));
        CTempFolder handheld;
        handheld.MakeFolder("Storage");
        // The link drops a little way into the chunk after the boundary.
        const std::string strOptions = c.bDrop ? "--drop-after " + std::to_string(1000 + c.nChunk * CHUNK + 100) : "";
        m_pEmulator = std::make_unique<CEmulatorProcess>(handheld.Path(), strOptions);
        ASSERT_NE(0, m_pEmulator->Port());
        UseEndpoint(m_pEmulator->Endpoint());
        ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));

        CProgressRecorder progress;
        if (!c.bDrop) {
            // The bar moves to a chunk's index once it is written.
            progress.OnEvent([&](const ProgressEvent& event, HWND hDlg) {
                if (event.kind == ProgressEvent::Position && event.nValue == c.nChunk - 1
                    && !progress.Captions().empty() && progress.Captions().back() == "Coping big.kda (2/2)")
                    CProgressRecorder::PressCancel(hDlg);
            });
        }
        CMessageBoxRecorder boxes;
        const DWORD dwStart = GetTickCount();
        EXPECT_EQ(c.nResult, Install());
        EXPECT_LT(GetTickCount() - dwStart, 15000u) << "bounded by the link's call timeout";
        ASSERT_EQ(c.bMessage ? 1u : 0u, boxes.Boxes().size());
        if (c.bMessage) {
            EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, m_entries[1].szPath, false), boxes.Boxes()[0].strText);
            EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[0].uType);
        }
        EXPECT_EQ(SourceBytes(1000, 'f'), ContentsOf(handheld.PathOf("Storage\\first.kda")));
        const std::string strBig = handheld.PathOf("Storage\\big.kda");
        EXPECT_EQ(c.bBigStays, Exists(strBig));
        if (c.bBigStays) {
            // A dropped link leaves what arrived before it.
            const size_t cbArrived = c.bDrop ? static_cast<size_t>(c.nChunk) * CHUNK + 100 : 4 * CHUNK;
            EXPECT_EQ(SourceBytes(4 * CHUNK, 'b').substr(0, cbArrived), ContentsOf(strBig));
        }
        m_pHost.reset();
        m_pEmulator.reset();
    }
}

TEST_F(InstallFaultsTest, ALocalVolumeThatRunsFullMidCopy)
{
    if (!HasSmallVolume())
        GTEST_SKIP() << "F: is no small volume here (the fixture mounts one only where the machine allows it)";
    const ULONGLONG nFree = QueryFreeSpace("F:\\");
    // Small files take a whole page each: their total fits the free room,
    // their pages do not.
    const int nFiles = static_cast<int>(nFree / 4096) + 40;
    for (int i = 0; i < nFiles; ++i)
        AddSource("s" + std::to_string(1000 + i) + ".kda", 1000, static_cast<char>(i));
    CTempFolder target("F:\\");
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    CMessageBoxRecorder boxes;
    boxes.Answer(IDCANCEL);
    EXPECT_EQ(-1, Install());
    ASSERT_EQ(1u, boxes.Boxes().size());
    const std::string& strText = boxes.Boxes()[0].strText;
    const size_t nPath = strText.find('\n') + 1;
    const std::string strFailed = strText.substr(nPath, strText.find('\n', nPath) - nPath);
    EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, strFailed, true), strText);
    int nCopied = 0;
    for (int i = 0; i < nFiles; ++i) {
        const std::string strCopy = target.PathOf(m_entries[i].szFileName);
        if (m_entries[i].szPath == strFailed) {
            EXPECT_FALSE(Exists(strCopy)) << "the file that did not fit goes";
            break;
        }
        EXPECT_EQ(SourceBytes(1000, static_cast<char>(i)), ContentsOf(strCopy)) << strCopy;
        ++nCopied;
    }
    EXPECT_GT(nCopied, 0);
}

}   // namespace

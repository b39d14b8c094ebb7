// Installations onto the handheld that go wrong where users meet it: the
// link dropping anywhere in a file, a handheld that does not come back,
// and Cancel pressed at every moment of a run with the dialog's own
// pacing. Each run ends with the right messages and code, leaves every
// earlier file whole, and leaves no partial file but one the user let
// stand, or one the user is told of.
#include "tests/install/InstallFixture.h"
#include "install/HandheldDestination.h"
#include "install/HandheldSession.h"
#include "tests/support/MessagePump.h"

#include <algorithm>

namespace {

constexpr int CHUNK = 65536;

class InstallFaultsTest : public InstallTest
{
protected:
    // A one-chunk file, a file of four chunks and a one-chunk last file:
    // what goes wrong happens to the middle one.
    void AddThreeFiles()
    {
        AddSource("first.kda", 1000, 'f');
        AddSource("big.kda", 4 * CHUNK, 'b');
        AddSource("last.kda", 100, 'l');
    }

    // A handheld of its own for one case, with the emulator's options, its
    // \Storage chosen in a new tree.
    void ChooseStorageOnHandheld(const std::string& strOptions)
    {
        m_pEmulator.reset();
        m_pCaseHandheld = std::make_unique<CTempFolder>();
        m_pCaseHandheld->MakeFolder("Storage");
        m_pEmulator = std::make_unique<CEmulatorProcess>(m_pCaseHandheld->Path(), strOptions);
        ASSERT_NE(0, m_pEmulator->Port());
        UseEndpoint(m_pEmulator->Endpoint());
        ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));
    }

    std::string OnHandheld(const std::string& strName) const { return m_pCaseHandheld->PathOf("Storage\\" + strName); }

    std::unique_ptr<CTempFolder> m_pCaseHandheld;
};

TEST_F(InstallFaultsTest, ALinkThatDropsAnywhereCostsOnlyTheFileItDroppedIn)
{
    AddThreeFiles();
    const struct
    {
        const char* pszWhere;
        size_t nDropAfter;   // bytes written when the cable is pulled
        size_t nFailed;      // the file whose write failed
        size_t cbArrived;    // of that file
    } drops[] = {
        { "after the last chunk of the first file", 1000, 0, 1000 },
        { "inside chunk 0", 1000 + 100, 1, 100 },
        { "at the end of chunk 0, its reply lost", 1000 + CHUNK, 1, CHUNK },
        { "inside chunk 1", 1000 + CHUNK + 100, 1, CHUNK + 100 },
        { "at the end of chunk 1", 1000 + 2 * CHUNK, 1, 2 * CHUNK },
        { "inside chunk 2", 1000 + 2 * CHUNK + 100, 1, 2 * CHUNK + 100 },
        { "inside chunk 3", 1000 + 3 * CHUNK + 100, 1, 3 * CHUNK + 100 },
        { "after the last chunk", 1000 + 4 * CHUNK, 1, 4 * CHUNK },
    };
    for (const auto& drop : drops) {
        for (const int nAnswer : { IDOK, IDCANCEL }) {
            SCOPED_TRACE(std::string(drop.pszWhere) + (nAnswer == IDOK ? ", go on" : ", stop"));
            ASSERT_NO_FATAL_FAILURE(ChooseStorageOnHandheld("--drop-after " + std::to_string(drop.nDropAfter)));
            CMessageBoxRecorder boxes;
            boxes.Answer(nAnswer);
            const DWORD dwStart = GetTickCount();
            EXPECT_EQ(nAnswer == IDOK ? 1 : -1, Install());
            EXPECT_LT(GetTickCount() - dwStart, 15000u) << "bounded by the link's call timeout";
            // One question, for the file the link dropped in; the later
            // files find the handheld back.
            ASSERT_EQ(1u, boxes.Boxes().size());
            EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, m_entries[drop.nFailed].szPath, true),
                      boxes.Boxes()[0].strText);
            for (size_t i = 0; i < m_entries.size(); ++i) {
                const std::string strCopy = OnHandheld(m_entries[i].szFileName);
                const std::string strSource = ContentsOf(m_entries[i].szPath);
                if (i < drop.nFailed)
                    EXPECT_EQ(strSource, ContentsOf(strCopy)) << "a finished file stays";
                else if (i > drop.nFailed)
                    EXPECT_EQ(nAnswer == IDOK, Exists(strCopy) && ContentsOf(strCopy) == strSource) << strCopy;
                else if (nAnswer == IDOK)
                    EXPECT_EQ(strSource.substr(0, drop.cbArrived), ContentsOf(strCopy)) << "what arrived stays";
                else
                    EXPECT_FALSE(Exists(strCopy)) << "taken away in a new session";
            }
        }
    }
}

TEST_F(InstallFaultsTest, AHandheldThatDoesNotComeBackIsNamedOnceAndSoIsItsPartialFile)
{
    AddThreeFiles();
    for (const int nAnswer : { IDOK, IDCANCEL }) {
        SCOPED_TRACE(nAnswer == IDOK ? "go on" : "stop");
        ASSERT_NO_FATAL_FAILURE(ChooseStorageOnHandheld("--drop-after " + std::to_string(1000 + CHUNK + 100)));
        CMessageBoxRecorder boxes;
        boxes.Answer(nAnswer);
        // The handheld is gone for good while the user reads the question.
        boxes.WhileShown([&](HWND) {
            if (boxes.Boxes().size() == 1)
                m_pEmulator.reset();
        });
        const DWORD dwStart = GetTickCount();
        EXPECT_EQ(-1, Install());
        EXPECT_LT(GetTickCount() - dwStart, 8000u) << "one attempt, within the link's own bound";
        ASSERT_EQ(2u, boxes.Boxes().size());
        EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, m_entries[1].szPath, true), boxes.Boxes()[0].strText);
        if (nAnswer == IDOK) {
            EXPECT_EQ(InUsersSet("無法連接上行動裝置", "无法连接上行动装置"), boxes.Boxes()[1].strText)
                << "the link's own word, once";
        } else {
            EXPECT_EQ(InUsersSet("這個檔案沒有安裝完整, 也無法刪除; 請自行刪除:\n行動裝置:\\Storage\\big.kda",
                                 "这个档案没有安装完整, 也无法删除; 请自行删除:\n行动装置:\\Storage\\big.kda"),
                      boxes.Boxes()[1].strText);
        }
        EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[1].uType);
        EXPECT_EQ(UINT(MB_ICONEXCLAMATION), boxes.Boxes()[1].uIcon);
        EXPECT_EQ(SourceBytes(1000, 'f'), ContentsOf(OnHandheld("first.kda")));
        EXPECT_EQ(SourceBytes(4 * CHUNK, 'b').substr(0, CHUNK + 100), ContentsOf(OnHandheld("big.kda")));
        EXPECT_FALSE(Exists(OnHandheld("last.kda")));
    }
}

TEST_F(InstallFaultsTest, AFullHandheldFailsEachFileThatDoesNotFit)
{
    AddSource("big.kda", 4 * CHUNK, 'g');
    AddSource("small.kda", 10, 's');
    for (const int nAnswer : { IDOK, IDCANCEL }) {
        SCOPED_TRACE(nAnswer == IDOK ? "go on" : "stop");
        ASSERT_NO_FATAL_FAILURE(ChooseStorageOnHandheld("--capacity 150000"));
        CMessageBoxRecorder boxes;
        boxes.Answer(nAnswer);
        const DWORD dwStart = GetTickCount();
        EXPECT_EQ(nAnswer == IDOK ? 1 : -1, Install());
        EXPECT_LT(GetTickCount() - dwStart, 5000u) << "a full handheld costs no new session";
        ASSERT_EQ(nAnswer == IDOK ? 2u : 1u, boxes.Boxes().size());
        EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, m_entries[0].szPath, true), boxes.Boxes()[0].strText);
        if (nAnswer == IDOK) {
            EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, m_entries[1].szPath, false), boxes.Boxes()[1].strText);
            EXPECT_EQ(SourceBytes(4 * CHUNK, 'g').substr(0, 150000), ContentsOf(OnHandheld("big.kda")))
                << "OK leaves what fitted";
        } else {
            EXPECT_FALSE(Exists(OnHandheld("big.kda"))) << "Cancel takes the partial file away";
            EXPECT_FALSE(Exists(OnHandheld("small.kda")));
        }
    }
}

TEST_F(InstallFaultsTest, AFailedConnectionLeavesNothingInTheWayOfTheNextInstall)
{
    AddSource("a.kda", 100, 'a');
    const WORD nPort = PortOfAnEmulatorGone(m_handheld.Path());
    ASSERT_NE(0, nPort);
    m_handheld.MakeFolder("Storage");
    const std::string strPort = "--port " + std::to_string(nPort);
    m_pEmulator = std::make_unique<CEmulatorProcess>(m_handheld.Path(), strPort);
    ASSERT_NE(0, m_pEmulator->Port());
    UseEndpoint(m_pEmulator->Endpoint());
    ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));
    m_pEmulator.reset();
    {
        CMessageBoxRecorder boxes;
        EXPECT_EQ(-1, Install());
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(InUsersSet("無法連接上行動裝置", "无法连接上行动装置"), boxes.Boxes()[0].strText);
    }
    m_pEmulator = std::make_unique<CEmulatorProcess>(m_handheld.Path(), strPort);
    ASSERT_EQ(nPort, m_pEmulator->Port());
    CMessageBoxRecorder boxes;
    EXPECT_EQ(1, Install());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(SourceBytes(100, 'a'), ContentsOf(m_handheld.PathOf("Storage\\a.kda")));
}

// Cancel pressed at a moment of the run, with the dialog catching up at
// its own pace, on a handheld slow enough that the dialog catches up at
// every chunk: the moment is known.
class CancelAtEveryMomentTest : public InstallFaultsTest
{
protected:
    void SetUp() override
    {
        InstallFaultsTest::SetUp();
        g_dwProgressRefreshMs = m_dwRefreshMs;
    }

    static constexpr int HANDHELD_LATENCY_MS = 60;
};

TEST_F(CancelAtEveryMomentTest, ARunStopsAtTheNextFileBoundaryAtTheLatest)
{
    ASSERT_EQ(40u, m_dwRefreshMs) << "the program's own pacing";
    AddThreeFiles();
    const std::string strBigCaption = "Coping big.kda (2/3)";
    const std::string strLastCaption = "Coping last.kda (3/3)";
    const struct
    {
        const char* pszMoment;
        std::string strCaption;   // the file the moment is in
        int nPosition;            // -1: as its caption shows; else as the bar shows this chunk
        bool bQuit;               // the program's end instead of a click
        int nResult;
        bool bBigWhole;    // else gone
        bool bLastWhole;   // else never begun
    } moments[] = {
        // Seen as chunk 0 is checked, obeyed after chunk 1.
        { "as the file begins", strBigCaption, -1, false, 0, false, false },
        // Seen as chunk 1 is checked, obeyed after chunk 2.
        { "as the bar shows chunk 0", strBigCaption, 0, false, 0, false, false },
        { "as the bar shows the file's last chunk", strBigCaption, 3, false, 0, true, false },
        { "as a one-chunk last file begins", strLastCaption, -1, false, 0, true, true },
        { "as the bar shows the last file's only chunk", strLastCaption, 0, false, 0, true, true },
        { "the program ending as the bar shows chunk 0", strBigCaption, 0, true, 0, false, false },
    };
    for (const auto& moment : moments) {
        SCOPED_TRACE(moment.pszMoment);
        ASSERT_NO_FATAL_FAILURE(ChooseStorageOnHandheld("--latency " + std::to_string(HANDHELD_LATENCY_MS)));
        CProgressRecorder progress;
        bool bPressed = false;
        progress.OnEvent([&](const ProgressEvent& event, HWND hDlg) {
            const bool bInFile = !progress.Captions().empty() && progress.Captions().back() == moment.strCaption;
            const bool bAtMoment = moment.nPosition < 0
                                       ? event.kind == ProgressEvent::Caption
                                       : event.kind == ProgressEvent::Position && event.nValue == moment.nPosition;
            if (bPressed || !bInFile || !bAtMoment)
                return;
            bPressed = true;
            if (moment.bQuit)
                PostQuitMessage(3);
            else
                CProgressRecorder::PressCancel(hDlg);
        });
        CMessageBoxRecorder boxes;
        EXPECT_EQ(moment.nResult, Install());
        EXPECT_TRUE(bPressed) << "the moment came";
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(SourceBytes(1000, 'f'), ContentsOf(OnHandheld("first.kda")));
        EXPECT_EQ(moment.bBigWhole, Exists(OnHandheld("big.kda")));
        if (moment.bBigWhole) {
            EXPECT_EQ(SourceBytes(4 * CHUNK, 'b'), ContentsOf(OnHandheld("big.kda")));
        }
        EXPECT_EQ(moment.bLastWhole, Exists(OnHandheld("last.kda")));
        if (!moment.bLastWhole) {
            const std::vector<std::string> captions = progress.Captions();
            EXPECT_EQ(captions.end(), std::find(captions.begin(), captions.end(), strLastCaption))
                << "a file not begun is never begun";
        }
        int nExitCode = 0;
        EXPECT_EQ(moment.bQuit, TakeQuitMessage(&nExitCode)) << "the program's end goes on to its loop";
        if (moment.bQuit) {
            EXPECT_EQ(3, nExitCode);
        }
    }
}

TEST_F(CancelAtEveryMomentTest, AWriteThatFailsAfterCancelAsksNothing)
{
    AddThreeFiles();
    // Cancel as the bar shows chunk 0 is seen as chunk 1 is checked; the
    // link drops in chunk 2, before the Cancel is obeyed.
    ASSERT_NO_FATAL_FAILURE(ChooseStorageOnHandheld("--latency " + std::to_string(HANDHELD_LATENCY_MS)
                                                    + " --drop-after " + std::to_string(1000 + 2 * CHUNK + 100)));
    CProgressRecorder progress;
    progress.OnEvent([&](const ProgressEvent& event, HWND hDlg) {
        if (event.kind == ProgressEvent::Position && event.nValue == 0 && !progress.Captions().empty()
            && progress.Captions().back() == "Coping big.kda (2/3)")
            CProgressRecorder::PressCancel(hDlg);
    });
    CMessageBoxRecorder boxes;
    EXPECT_EQ(0, Install());
    EXPECT_TRUE(boxes.Boxes().empty()) << "the user has said stop already";
    EXPECT_FALSE(Exists(OnHandheld("big.kda"))) << "taken away in a new session";
    EXPECT_FALSE(Exists(OnHandheld("last.kda")));
}

TEST_F(InstallFaultsTest, AnUnfinishedLocalFileThatCannotBeDeletedIsNamed)
{
    CTempFolder target("R:\\");
    AddSource("big.kda", 3 * CHUNK, 'b');
    AddSource("next.kda", 100, 'n');
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    const std::string strCopy = target.PathOf("big.kda");
    // Another program reads the file as it is written, and lets nobody
    // delete it meanwhile.
    HANDLE hReader = INVALID_HANDLE_VALUE;
    CProgressRecorder progress;
    progress.OnEvent([&](const ProgressEvent& event, HWND hDlg) {
        if (event.kind != ProgressEvent::Position || event.nValue != 0 || progress.Captions().empty()
            || hReader != INVALID_HANDLE_VALUE)
            return;
        hReader = CreateFileA(strCopy.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
        CProgressRecorder::PressCancel(hDlg);
    });
    CMessageBoxRecorder boxes;
    EXPECT_EQ(0, Install());
    ASSERT_NE(INVALID_HANDLE_VALUE, hReader);
    CloseHandle(hReader);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(
        InUsersSet("這個檔案沒有安裝完整, 也無法刪除; 請自行刪除:\n", "这个档案没有安装完整, 也无法删除; 请自行删除:\n")
            + strCopy,
        boxes.Boxes()[0].strText);
    EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[0].uType);
    EXPECT_FALSE(Exists(target.PathOf("next.kda")));
}

// The partial file of a handheld run, taken away as a Cancel takes it.
class CPartialFile
{
public:
    CPartialFile(CHandheldSession& session, const std::string& strName)
        : m_pFile(CHandheldDestination::Open(L"\\Storage", strName.c_str(), session))
    {
        if (m_pFile != nullptr)
            m_pFile->Write(reinterpret_cast<const BYTE*>("part"), 4);
    }
    bool IsOpen() const { return m_pFile != nullptr; }
    void Close() { m_pFile->Close(); }
    BOOL Delete() { return m_pFile->Delete(); }

private:
    std::unique_ptr<CHandheldDestination> m_pFile;
};

TEST_F(InstallFaultsTest, ADeleteCostsANewSessionOnlyWhenTheLinkBroke)
{
    const struct
    {
        const char* pszWhat;
        std::string strOptions;
        bool bGoneBefore;   // the file went before the delete
        int nNewSessions;
    } cases[] = {
        { "a file the handheld deletes", "", false, 0 },
        { "a file that is no longer there", "", true, 0 },
        { "a file whose link broke", "--drop-after 2", false, 1 },
        { "a file whose link broke, gone before the delete", "--drop-after 2", true, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        ASSERT_NO_FATAL_FAILURE(ChooseStorageOnHandheld(c.strOptions));
        CHandheldSession session;
        ASSERT_TRUE(session.Open(FALSE));
        CPartialFile file(session, "part.kda");
        ASSERT_TRUE(file.IsOpen());
        EXPECT_EQ(c.nNewSessions > 0, session.IsLinkDown() != FALSE);
        PumpMessagesFor(200);   // the emulator's word of the session's connection arrives
        const int nConnections = m_pEmulator->Connections();
        if (c.bGoneBefore) {
            file.Close();
            ASSERT_TRUE(DeleteFileA(OnHandheld("part.kda").c_str()));
        }
        EXPECT_TRUE(file.Delete()) << "no part of the file is left";
        EXPECT_FALSE(Exists(OnHandheld("part.kda")));
        PumpMessagesFor(200);
        EXPECT_EQ(nConnections + c.nNewSessions, m_pEmulator->Connections());
    }
}

}   // namespace

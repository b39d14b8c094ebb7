// Installing for real into folders of the test prefix's removable drives
// and into the emulated handheld; every message box answered by the test
// and its text checked.
#include "tests/install/InstallFixture.h"

#include "install/FreeSpace.h"
#include "install/HandheldDestination.h"
#include "tests/support/MessagePump.h"

namespace {

constexpr int CHUNK = 65536;

// Whether the bytes are text in the system's code page.
bool IsText(const std::string& strAnsi)
{
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, strAnsi.c_str(), -1, nullptr, 0) > 0;
}

std::wstring WideText(const std::string& strAnsi)
{
    std::wstring strWide(strAnsi.size(), L'\0');
    strWide.resize(MultiByteToWideChar(CP_ACP, 0, strAnsi.c_str(), static_cast<int>(strAnsi.size()), &strWide[0],
                                       static_cast<int>(strWide.size())));
    return strWide;
}

TEST_F(InstallTest, TheDestinationIsCheckedFirstAndNothingTickedDoesNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    m_handheld.MakeFolder("Storage");
    CTempFolder target("R:\\");
    AddSource("a.kda", 1000).bSelected = 0;
    const struct
    {
        const char* pszWhat;
        int nTicked;   // ticks on the one entry
        int nChoose;   // 0 a local folder, 1 the computer, 2 the handheld, 3 a handheld folder
        int nResult;
        bool bMessage;   // 402
    } cases[] = {
        { "nothing ticked", 0, 0, -1, false },
        { "nothing ticked, the computer chosen", 0, 1, -1, true },
        { "the computer is no folder", 1, 1, -1, true },
        { "the handheld's own node", 1, 2, -1, true },
        { "a folder right below the handheld", 1, 3, 1, false },
        { "a local folder", 1, 0, 1, false },
    };
    for (const auto& c : cases) {
        m_entries[0].bSelected = c.nTicked;
        if (c.nChoose <= 1)
            ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
        else
            ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder(c.nChoose == 2 ? "\\" : "\\Storage"));
        if (c.nChoose == 1)
            m_pHost->Click(m_pHost->m_tree.GetRootItem());
        CMessageBoxRecorder boxes;
        EXPECT_EQ(c.nResult, Install()) << c.pszWhat;
        ASSERT_EQ(c.bMessage ? 1u : 0u, boxes.Boxes().size()) << c.pszWhat;
        if (c.bMessage) {
            EXPECT_EQ(InUsersSet("請選擇安裝路徑.", "请选择安装路径."), boxes.Boxes()[0].strText);
            EXPECT_EQ("Tarnix", boxes.Boxes()[0].strCaption);
            EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[0].uType);
            EXPECT_EQ(UINT(MB_ICONEXCLAMATION), boxes.Boxes()[0].uIcon);
        }
    }
    EXPECT_EQ(SourceBytes(1000, 'a'), ContentsOf(target.PathOf("a.kda")));
    EXPECT_EQ(SourceBytes(1000, 'a'), ContentsOf(m_handheld.PathOf("Storage\\a.kda")));
}

TEST_F(InstallTest, CopiesAreByteExactInChunksWithTheirCountersOnBothKinds)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    m_handheld.MakeFolder("Storage");
    CTempFolder target("S:\\");
    const size_t sizes[] = { 1, CHUNK - 1, CHUNK, CHUNK + 1, 3 * CHUNK + 17 };
    for (size_t i = 0; i < std::size(sizes); ++i)
        AddSource("f" + std::to_string(i) + ".kda", sizes[i], static_cast<char>('a' + i));
    // Over longer files of the same names: the copies end where the sources do.
    target.MakeFile("f1.kda", std::string(5 * CHUNK, 'x'));
    m_handheld.MakeFile("Storage\\f1.kda", std::string(5 * CHUNK, 'x'));
    const std::vector<ContentEntry> ticksBefore = m_entries;

    for (int nKind = 0; nKind < 2; ++nKind) {
        if (nKind == 0)
            ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
        else
            ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));
        CMessageBoxRecorder boxes;
        CProgressRecorder progress;
        EXPECT_EQ(1, Install());
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ((std::vector<std::string>{ "Coping f0.kda (1/5)", "Coping f1.kda (2/5)", "Coping f2.kda (3/5)",
                                             "Coping f3.kda (4/5)", "Coping f4.kda (5/5)" }),
                  progress.Captions());
        EXPECT_EQ((std::vector<int>{ 1, 1, 1, 2, 4 }), progress.Ranges()) << "64 KiB chunks, rounded up";
        for (size_t i = 0; i < std::size(sizes); ++i) {
            const std::string strName = "f" + std::to_string(i) + ".kda";
            const std::string strCopy = nKind == 0 ? target.PathOf(strName) : m_handheld.PathOf("Storage\\" + strName);
            EXPECT_EQ(SourceBytes(sizes[i], static_cast<char>('a' + i)), ContentsOf(strCopy)) << strCopy;
        }
        for (size_t i = 0; i < m_entries.size(); ++i)
            EXPECT_EQ(ticksBefore[i].bSelected, m_entries[i].bSelected) << "ticks stay";
    }
}

TEST_F(InstallTest, OneFileNeedsNoCounterAndAMissingSourceStillCounts)
{
    CTempFolder target("R:\\");
    AddSource("only.kda", 10);
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    {
        CMessageBoxRecorder boxes;
        CProgressRecorder progress;
        EXPECT_EQ(1, Install());
        EXPECT_EQ(std::vector<std::string>{ "Coping only.kda" }, progress.Captions());
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    AddSource("two.kda", 20);
    AddSource("three.kda", 30);
    DeleteFileA(m_entries[1].szPath);
    DeleteFileA(m_entries[2].szPath);
    CMessageBoxRecorder boxes;
    CProgressRecorder progress;
    EXPECT_EQ(1, Install());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(Message(IDS_INSTALL_CANNOT_READ, m_entries[1].szPath, true), boxes.Boxes()[0].strText);
    EXPECT_EQ(UINT(MB_OKCANCEL), boxes.Boxes()[0].uType);
    EXPECT_EQ(Message(IDS_INSTALL_CANNOT_READ, m_entries[2].szPath, false), boxes.Boxes()[1].strText)
        << "the last ticked file asks nothing";
    EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[1].uType);
    EXPECT_EQ(std::vector<std::string>{ "Coping only.kda (1/3)" }, progress.Captions());
}

TEST_F(InstallTest, CancelDuringTheThirdFileKeepsTheFirstTwo)
{
    ASSERT_NO_FATAL_FAILURE(StartHandheld());
    m_handheld.MakeFolder("Storage");
    CTempFolder target("R:\\");
    AddSource("a.kda", 2 * CHUNK, 'a');
    AddSource("b.kda", 100, 'b');
    AddSource("c.kda", 3 * CHUNK, 'c');
    for (int nKind = 0; nKind < 2; ++nKind) {
        if (nKind == 0)
            ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
        else
            ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));
        const auto copyOf = [&](const char* pszName) {
            return nKind == 0 ? target.PathOf(pszName) : m_handheld.PathOf(std::string("Storage\\") + pszName);
        };
        CProgressRecorder progress;
        progress.OnEvent([](const ProgressEvent& event, HWND hDlg) {
            if (event.kind == ProgressEvent::Caption && event.strText == "Coping c.kda (3/3)")
                CProgressRecorder::PressCancel(hDlg);
        });
        CMessageBoxRecorder boxes;
        EXPECT_EQ(0, Install());
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(SourceBytes(2 * CHUNK, 'a'), ContentsOf(copyOf("a.kda")));
        EXPECT_EQ(SourceBytes(100, 'b'), ContentsOf(copyOf("b.kda")));
        EXPECT_FALSE(Exists(copyOf("c.kda"))) << "the cancelled file goes";
    }
}

TEST_F(InstallTest, ALockedOrSelfDestinationIsRefusedAndTheNextFileArrives)
{
    CTempFolder target("R:\\");
    AddSource("locked.kda", 100, 'l');
    AddSource("free.kda", 100, 'f');
    const std::string strLocked = target.MakeFile("locked.kda", "the user's other copy");
    HANDLE hLock = CreateFileA(strLocked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    {
        CMessageBoxRecorder boxes;
        EXPECT_EQ(1, Install());
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(Message(IDS_INSTALL_CANNOT_WRITE, strLocked, true), boxes.Boxes()[0].strText);
        EXPECT_EQ(SourceBytes(100, 'f'), ContentsOf(target.PathOf("free.kda")));
    }
    CloseHandle(hLock);
    EXPECT_EQ("the user's other copy", ContentsOf(strLocked));

    // Installing from a folder into itself would empty the only copy.
    CTempFolder content("R:\\");
    m_entries.clear();
    AddSource("own.kda", 100, 'o', &content);
    AddSource("other.kda", 100, 'p', &content);
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(content.Path()));
    CMessageBoxRecorder boxes;
    EXPECT_EQ(1, Install());
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(Message(IDS_INSTALL_CANNOT_WRITE, m_entries[0].szPath, true), boxes.Boxes()[0].strText);
    EXPECT_EQ(Message(IDS_INSTALL_CANNOT_WRITE, m_entries[1].szPath, false), boxes.Boxes()[1].strText);
    EXPECT_EQ(SourceBytes(100, 'o'), ContentsOf(m_entries[0].szPath));
    EXPECT_EQ(SourceBytes(100, 'p'), ContentsOf(m_entries[1].szPath));
}

TEST_F(InstallTest, HandheldNamesAreReadInCodePage950AndMustFitThePath)
{
    // A handheld folder on a short host path, for a deep handheld path.
    CTempFolder handheld("T:\\");
    m_pEmulator = std::make_unique<CEmulatorProcess>(handheld.Path());
    ASSERT_NE(0, m_pEmulator->Port());
    UseEndpoint(m_pEmulator->Endpoint());
    const std::string strParts[] = { std::string(70, 'd'), std::string(70, 'e'), std::string(70, 'f') };
    handheld.MakeFolder("Storage\\" + strParts[0] + "\\" + strParts[1] + "\\" + strParts[2]);
    // Bytes that are text in either code page: GBK reads them as one name,
    // Big5 as another; the handheld gets the Big5 reading.
    const std::string strName = "\xD6\xD0\xCE\xC4.kda";
    AddSource(strName, 100, 'n');
    ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));
    {
        CMessageBoxRecorder boxes;
        EXPECT_EQ(1, Install());
        EXPECT_TRUE(boxes.Boxes().empty());
    }
    WCHAR szBig5[16] = {};
    MultiByteToWideChar(950, 0, strName.c_str(), -1, szBig5, 16);
    if (GetACP() == 936) {
        WCHAR szGbk[16] = {};
        MultiByteToWideChar(936, 0, strName.c_str(), -1, szGbk, 16);
        ASSERT_NE(std::wstring(szGbk), szBig5) << "the two readings differ";
    }
    const std::wstring strExpected =
        std::wstring(handheld.Path().begin(), handheld.Path().end()) + L"\\Storage\\" + szBig5;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(strExpected.c_str()));

    // The longest path the engine takes is 256 units, a few short of what
    // the link takes; a name that is no Big5 text is none at all.
    ASSERT_NO_FATAL_FAILURE(ChooseHandheldFolder("\\Storage"));
    HTREEITEM hItem = m_pHost->Find("\\Storage");
    for (const std::string& strPart : strParts) {
        ASSERT_TRUE(m_pHost->ClickButton(hItem));
        hItem = m_pHost->m_tree.GetChildItem(hItem);
        ASSERT_NE(nullptr, hItem);
        ASSERT_EQ(strPart, m_pHost->m_tree.NodeOf(hItem)->GetDisplayName());
    }
    m_pHost->Click(hItem);
    const std::string strFolder = m_pHost->Caret()->GetPath();
    ASSERT_EQ(221u, strFolder.size());
    const struct
    {
        std::string strName;
        bool bTaken;
    } names[] = {
        { std::string(30, 'n') + ".kda", true },    // 256 units
        { std::string(31, 'm') + ".kda", false },   // 257 units
        // Text in the simplified set's code page, none in Big5.
        { "\xB0\x80.kda", false },
    };
    for (const auto& n : names) {
        SCOPED_TRACE(n.strName);
        if (!IsText(n.strName))
            continue;
        m_entries.clear();
        AddSource("source.kda", 10);
        std::strcpy(m_entries[0].szFileName, n.strName.c_str());
        CMessageBoxRecorder boxes;
        EXPECT_EQ(1, Install());
        const std::string strPath = strFolder + "\\" + n.strName;
        ASSERT_EQ(n.bTaken ? 0u : 1u, boxes.Boxes().size());
        if (!n.bTaken) {
            EXPECT_EQ(Message(IDS_INSTALL_CANNOT_WRITE, strPath, false), boxes.Boxes()[0].strText);
        }
        // Longer than the system's ANSI calls take on the host.
        const std::wstring strHostPath = L"\\\\?\\" + WideText(handheld.PathOf(strPath.substr(1)));
        EXPECT_EQ(n.bTaken, GetFileAttributesW(strHostPath.c_str()) != INVALID_FILE_ATTRIBUTES);
        DeleteFileW(strHostPath.c_str());
    }
}

TEST_F(InstallTest, CancelDuringASmallFileStopsBeforeTheNext)
{
    CTempFolder target("R:\\");
    AddSource("a.kda", 100, 'a');
    AddSource("b.kda", 100, 'b');
    AddSource("c.kda", 100, 'c');
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    CProgressRecorder progress;
    progress.OnEvent([](const ProgressEvent& event, HWND hDlg) {
        if (event.kind == ProgressEvent::Caption && event.strText == "Coping a.kda (1/3)")
            CProgressRecorder::PressCancel(hDlg);
    });
    CMessageBoxRecorder boxes;
    EXPECT_EQ(0, Install());
    EXPECT_EQ(SourceBytes(100, 'a'), ContentsOf(target.PathOf("a.kda"))) << "a finished file stays";
    EXPECT_FALSE(Exists(target.PathOf("b.kda")));
    EXPECT_FALSE(Exists(target.PathOf("c.kda")));
}

TEST_F(InstallTest, HandheldPathsOfUpTo256Units)
{
    const std::wstring strFolder = L"\\" + std::wstring(246, L'x');
    EXPECT_EQ(strFolder + L"\\abcd.kda", HandheldFilePath(strFolder.c_str(), "abcd.kda")) << "256 units";
    EXPECT_EQ(L"", HandheldFilePath(strFolder.c_str(), "abcde.kda")) << "257 units";
    const struct
    {
        const char* pszName;
        bool bConverts;
    } names[] = {
        { "\xA6\x72\xA8\xE5.kda", true },   // Big5 text
        { "\xA4.kda", false },              // a lead byte without its trail
        { "abc\xA4", false },               // a lead byte at the end
    };
    for (const auto& n : names)
        EXPECT_EQ(n.bConverts, !HandheldFilePath(L"\\Storage", n.pszName).empty()) << n.pszName;
}

// The KB figures of message 401 as the user reads them: the total and the
// free room.
std::pair<ULONGLONG, ULONGLONG> NoRoomFigures(const std::string& strText)
{
    const size_t nTotal = strText.find(":  ");
    const size_t nFree = strText.find(":  ", nTotal + 1);
    if (nTotal == std::string::npos || nFree == std::string::npos)
        return { 0, 0 };
    return { std::stoull(strText.substr(nTotal + 3)), std::stoull(strText.substr(nFree + 3)) };
}

TEST_F(InstallTest, ThereMustBeRoomOnALocalDriveCountedIn64Bits)
{
    EXPECT_EQ(0u, QueryFreeSpace("\\\\server\\share")) << "no drive root: no room known";
    EXPECT_EQ(0u, QueryFreeSpace(""));
    CTempFolder target("R:\\");
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    // Files of 4 GiB - 1 (sizes read as unsigned 32 bits), more of them
    // than the drive holds: the room is checked before any file is opened.
    const ULONGLONG nFreeBefore = QueryFreeSpace("R:\\");
    const ULONGLONG nFiles = nFreeBefore / 0xFFFFFFFFull + 2;
    for (ULONGLONG i = 0; i < nFiles; ++i)
        AddSource("f" + std::to_string(i) + ".kda", 1).nSize = -1;
    CMessageBoxRecorder boxes;
    EXPECT_EQ(-1, Install());
    const ULONGLONG nFreeAfter = QueryFreeSpace("R:\\");
    ASSERT_EQ(1u, boxes.Boxes().size());
    const auto figures = NoRoomFigures(boxes.Boxes()[0].strText);
    EXPECT_EQ(nFiles * 4194304, figures.first) << boxes.Boxes()[0].strText;
    // Other programs may write meanwhile: the room shown is the room of
    // the moment.
    EXPECT_GE(figures.second, (std::min(nFreeBefore, nFreeAfter) + 1023) / 1024);
    EXPECT_LE(figures.second, (std::max(nFreeBefore, nFreeAfter) + 1023) / 1024);
    EXPECT_FALSE(Exists(target.PathOf("f0.kda"))) << "nothing is copied";
}

// A file-system folder that a network share gives: its path has no drive
// root, so no room is known there.
class CShareFolderNode : public CShellFolderNode
{
public:
    LPCSTR GetPath() override { return "\\\\server\\share\\dicts"; }
    BOOL IsFileSystem() override { return TRUE; }
};

TEST_F(InstallTest, ANetworkPathHasNoRoomKnown)
{
    AddSource("a.kda", 1000);
    m_pHost = std::make_unique<CTreeHost>();
    m_pHost->m_tree.SelectPath(0xA0 | FNF_NODEVICE, 0, nullptr);
    CShareFolderNode share;
    m_pHost->m_tree.SelectItem(m_pHost->m_tree.InsertNode(&share, TVI_ROOT));
    CMessageBoxRecorder boxes;
    EXPECT_EQ(-1, Install());
    m_pHost.reset();
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(std::make_pair(1ull, 0ull), NoRoomFigures(boxes.Boxes()[0].strText)) << "1 KB against 0 KB";
}

// A source whose reading fails: a region locked by another holder where
// the system refuses such reads, else (under Wine, which does not) the
// kernel's file of a process's memory, whose first bytes are unmapped.
bool MakeUnreadableSource(ContentEntry& entry, HANDLE& hHolder)
{
    hHolder =
        CreateFileA(entry.szPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    LockFile(hHolder, 10, 0, 100, 0);
    HANDLE hProbe =
        CreateFileA(entry.szPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[200];
    DWORD cbRead = 0;
    const BOOL bReadThrough = ::ReadFile(hProbe, buffer, sizeof(buffer), &cbRead, nullptr);
    CloseHandle(hProbe);
    if (!bReadThrough)
        return true;
    CloseHandle(hHolder);
    hHolder = INVALID_HANDLE_VALUE;
    const char* pszMemory = "Z:\\proc\\self\\mem";
    if (GetFileAttributesA(pszMemory) == INVALID_FILE_ATTRIBUTES)
        return false;
    std::strcpy(entry.szPath, pszMemory);
    return true;
}

TEST_F(InstallTest, ASourceThatCannotBeReadIsNoCopy)
{
    for (const int nAnswer : { IDOK, IDCANCEL }) {
        SCOPED_TRACE(nAnswer == IDOK ? "go on" : "stop");
        CTempFolder target("R:\\");
        m_entries.clear();
        AddSource("unreadable.kda", 1000, 'u');
        AddSource("next.kda", 100, 'n');
        HANDLE hHolder = INVALID_HANDLE_VALUE;
        if (!MakeUnreadableSource(m_entries[0], hHolder))
            GTEST_SKIP() << "no way here to make a file fail its reads";
        ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
        CMessageBoxRecorder boxes;
        boxes.Answer(nAnswer);
        EXPECT_EQ(nAnswer == IDOK ? 1 : -1, Install());
        if (hHolder != INVALID_HANDLE_VALUE)
            CloseHandle(hHolder);
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(Message(IDS_INSTALL_WRITE_FAILED, m_entries[0].szPath, true), boxes.Boxes()[0].strText)
            << "a failed read is no end of the file";
        // What stays is no more than was read: never a copy that passes for whole.
        const std::string strCopy = target.PathOf("unreadable.kda");
        if (nAnswer == IDOK) {
            const std::string strLeft = ContentsOf(strCopy);
            EXPECT_TRUE(Exists(strCopy));
            EXPECT_LT(strLeft.size(), 1000u);
            EXPECT_EQ(SourceBytes(1000, 'u').substr(0, strLeft.size()), strLeft);
        } else {
            EXPECT_FALSE(Exists(strCopy));
        }
        EXPECT_EQ(nAnswer == IDOK, Exists(target.PathOf("next.kda")));
    }
}

TEST_F(InstallTest, ADriveRootTakesNoSecondBackslash)
{
    const std::string strName = "root-" + std::to_string(GetCurrentProcessId()) + ".kda";
    AddSource(strName, 10);
    const std::string strCopy = "S:\\" + strName;
    CTempFolder guard("S:\\");   // the drive has a folder of ours, to walk through
    HANDLE hLock = CreateFileA(strCopy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder("S:\\"));
    CMessageBoxRecorder boxes;
    Install();
    CloseHandle(hLock);
    DeleteFileA(strCopy.c_str());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(Message(IDS_INSTALL_CANNOT_WRITE, strCopy, false), boxes.Boxes()[0].strText);
}

}   // namespace

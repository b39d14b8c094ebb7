// Installing onto a volume small enough to fill for real: the fixture's F:,
// a 1 MiB volume mounted where the machine allows it. Elsewhere the whole
// program reports itself skipped, so that the summary says so.
#include "tests/install/InstallFixture.h"

#include "install/FreeSpace.h"

namespace {

// ctest's word for a test that could not run here.
constexpr int SKIPPED = 77;

bool HasSmallVolume()
{
    return GetFileAttributesA("F:\\.tarnix-small-volume") != INVALID_FILE_ATTRIBUTES;
}

using SmallVolumeTest = InstallTest;

// The figures of message 401 for a total of nTotal bytes and nFree free.
std::string NoRoomText(ULONGLONG nTotal, ULONGLONG nFree)
{
    return InUsersSet("安裝檔案大小:  ", "安装档案大小:  ") + std::to_string((nTotal + 1023) / 1024)
           + InUsersSet(" KB\n剩餘磁碟空間:  ", " KB\n剩余磁盘空间:  ") + std::to_string((nFree + 1023) / 1024)
           + InUsersSet(" KB\n磁碟空間不足.", " KB\n磁盘空间不足.");
}

// Fills the volume of strFolder to its last byte; the filler is the
// returned path.
std::string FillVolume(const CTempFolder& folder)
{
    const std::string strFiller = folder.PathOf("filler");
    HANDLE hFile = CreateFileA(strFiller.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string strBlock(4096, 'x');
    DWORD cbWritten = 0;
    while (WriteFile(hFile, strBlock.data(), static_cast<DWORD>(strBlock.size()), &cbWritten, nullptr)
           && cbWritten == strBlock.size()) {
    }
    // The last partial block, a byte at a time.
    while (WriteFile(hFile, "x", 1, &cbWritten, nullptr) && cbWritten == 1) {
    }
    CloseHandle(hFile);
    return strFiller;
}

TEST_F(SmallVolumeTest, TheRoomIsTheVolumesToTheByte)
{
    CTempFolder target("F:\\");
    ASSERT_NO_FATAL_FAILURE(ChooseLocalFolder(target.Path()));
    const ULONGLONG nRoom = QueryFreeSpace("F:\\");
    AddSource("exact.kda", static_cast<size_t>(nRoom), 'e');
    {
        CMessageBoxRecorder boxes;
        EXPECT_EQ(1, Install()) << "a total equal to the room passes";
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(SourceBytes(static_cast<size_t>(nRoom), 'e'), ContentsOf(target.PathOf("exact.kda")));
    }
    DeleteFileA(target.PathOf("exact.kda").c_str());
    m_entries.clear();
    AddSource("one-more.kda", static_cast<size_t>(nRoom) + 1);
    {
        CMessageBoxRecorder boxes;
        EXPECT_EQ(-1, Install());
        ASSERT_EQ(1u, boxes.Boxes().size());
        EXPECT_EQ(NoRoomText(nRoom + 1, nRoom), boxes.Boxes()[0].strText);
        EXPECT_EQ(UINT(MB_OK), boxes.Boxes()[0].uType);
        EXPECT_FALSE(Exists(target.PathOf("one-more.kda"))) << "nothing is copied";
    }
    const std::string strFiller = FillVolume(target);
    ASSERT_EQ(0u, QueryFreeSpace("F:\\"));
    m_entries.clear();
    AddSource("small.kda", 1000);
    CMessageBoxRecorder boxes;
    EXPECT_EQ(-1, Install());
    DeleteFileA(strFiller.c_str());
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(NoRoomText(1000, 0), boxes.Boxes()[0].strText) << "1 KB against 0 KB";
}

TEST_F(SmallVolumeTest, AVolumeThatRunsFullMidCopy)
{
    const ULONGLONG nFree = QueryFreeSpace("F:\\");
    // Small files take a whole page each: their total fits the free room,
    // their pages do not. The one that does not fit fails as it is written
    // or, its bytes held back by the stream, as it is closed.
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

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!HasSmallVolume()) {
        std::printf("F: is no small volume here: the fixture mounts one only where the machine allows it\n");
        return SKIPPED;
    }
    return RUN_ALL_TESTS();
}

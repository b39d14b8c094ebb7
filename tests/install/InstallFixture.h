// An installation as the user starts one: content files of known bytes,
// their catalogue entries, the destination tree with a folder chosen, and
// the message boxes answered as the test says.
#pragma once

#include "tests/shell/ModelFixture.h"

#include "catalogue/ContentEntry.h"
#include "install/ProgressDlg.h"
#include "res/resource.h"
#include "tests/install/ProgressRecorder.h"
#include "tests/install/TreeHost.h"
#include "tests/support/AnsiText.h"
#include "tests/support/FileContents.h"
#include "tests/support/MessageBoxRecorder.h"

#include <cstring>
#include <memory>

class InstallTest : public ModelTest
{
protected:
    // The progress dialog shows every chunk: the tests act at given ones.
    void SetUp() override
    {
        ModelTest::SetUp();
        g_dwProgressRefreshMs = 0;
    }
    void TearDown() override
    {
        g_dwProgressRefreshMs = m_dwRefreshMs;
        ModelTest::TearDown();
    }

    // The bytes of a source file: every position its own value, so a
    // misplaced chunk shows.
    static std::string SourceBytes(size_t cb, char chSeed)
    {
        std::string strBytes(cb, '\0');
        for (size_t i = 0; i < cb; ++i)
            strBytes[i] = static_cast<char>((i * 31 + i / 251 + chSeed) & 0xFF);
        return strBytes;
    }

    // A ticked entry for a new source file of cb bytes named strName, in
    // the sources' folder unless another is given.
    ContentEntry& AddSource(const std::string& strName, size_t cb, char chSeed = 'a',
                            const CTempFolder* pFolder = nullptr)
    {
        const std::string strPath =
            (pFolder != nullptr ? *pFolder : m_sources).MakeFile(strName, SourceBytes(cb, chSeed));
        ContentEntry entry = {};
        entry.bSelected = 1;
        entry.nSize = static_cast<int>(cb);
        std::strncpy(entry.szFileName, strName.c_str(), sizeof(entry.szFileName) - 1);
        std::strncpy(entry.szPath, strPath.c_str(), sizeof(entry.szPath) - 1);
        m_entries.push_back(entry);
        return m_entries.back();
    }

    static bool Exists(const std::string& strPath)
    {
        return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // The tree, built as the pane builds it, with a local folder chosen.
    void ChooseLocalFolder(const std::string& strFolder)
    {
        m_pHost = std::make_unique<CTreeHost>();
        m_pHost->SelectFolder(0xA0 | FNF_NODEVICE, strFolder);
        // A drive's root is no walk's end (every drive has one): click it.
        if (strFolder.size() == 3)
            m_pHost->Click(m_pHost->Find(strFolder));
        ASSERT_NE(nullptr, m_pHost->Caret());
        ASSERT_EQ(strFolder, m_pHost->Caret()->GetPath());
    }

    // The tree with the handheld's folder strPath ("\\Storage") chosen;
    // "\\" chooses the handheld's own node.
    void ChooseHandheldFolder(const std::string& strPath)
    {
        m_pHost = std::make_unique<CTreeHost>();
        m_pHost->m_tree.SelectPath(0xA0, 0, nullptr);
        HTREEITEM hDevice = m_pHost->Find(InUsersSet("行動裝置", "行动装置"));
        ASSERT_NE(nullptr, hDevice);
        if (strPath != "\\") {
            ASSERT_TRUE(m_pHost->ClickButton(hDevice));
            HTREEITEM hFolder = m_pHost->Find(strPath);
            ASSERT_NE(nullptr, hFolder) << strPath;
            hDevice = hFolder;
        }
        m_pHost->Click(hDevice);
        ASSERT_EQ(strPath, m_pHost->Caret()->GetPath());
    }

    int Install() { return m_pHost->m_tree.Install(m_entries.data(), static_cast<int>(m_entries.size())); }

    // A message of the installation as the user reads it: the text of
    // string nID, a line with the path, and the question while more
    // ticked files follow.
    static std::string Message(UINT nID, const std::string& strPath, bool bMoreFollow)
    {
        CString strText;
        strText.LoadString(nID);
        CString strQuestion;
        strQuestion.LoadString(IDS_INSTALL_GO_ON);
        return std::string(strText) + "\n" + strPath + "\n" + (bMoreFollow ? std::string(strQuestion) : "");
    }

    const DWORD m_dwRefreshMs = g_dwProgressRefreshMs;
    CTempFolder m_sources;
    std::vector<ContentEntry> m_entries;
    std::unique_ptr<CTreeHost> m_pHost;
};

#include "catalogue/TarnixMessages.h"
#include "platform/framework/CmdUI.h"
#include "res/resource.h"
#include "tests/catalogue/CatalogueFixture.h"
#include "tests/support/MessagePump.h"

namespace {

// Whether the install command is enabled, asked as the command bar asks.
BOOL IsInstallEnabled(CTarnixDoc& doc)
{
    CCmdEnableProbe state;
    state.m_nID = ID_INSTALL;
    EXPECT_TRUE(doc.OnCmdMsg(ID_INSTALL, CN_UPDATE_COMMAND_UI, &state, nullptr));
    return state.m_bEnabled;
}

void RunCommand(CTarnixDoc& doc, UINT nID)
{
    EXPECT_TRUE(doc.OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr));
}

TEST_F(CatalogueTest, TickAllAndUntickAllDriveTheInstallCommand)
{
    AddContent("one.kda", "One");
    AddContent("two.kda", "Two");
    ASSERT_TRUE(Scan());
    EXPECT_FALSE(IsInstallEnabled(m_doc));

    RunCommand(m_doc, ID_SELECT_ALL);
    EXPECT_EQ(1, m_doc.m_pEntries[0].bSelected);
    EXPECT_EQ(1, m_doc.m_pEntries[1].bSelected);
    EXPECT_TRUE(IsInstallEnabled(m_doc));

    RunCommand(m_doc, ID_SELECT_NONE);
    EXPECT_EQ(0, m_doc.m_pEntries[0].bSelected);
    EXPECT_EQ(0, m_doc.m_pEntries[1].bSelected);
    EXPECT_FALSE(IsInstallEnabled(m_doc));

    // One tick, set as the list view sets it, is enough.
    m_doc.m_pEntries[1].bSelected ^= 1;
    EXPECT_TRUE(IsInstallEnabled(m_doc));
}

TEST_F(CatalogueTest, InstallCommandIsDisabledWithoutACatalogue)
{
    EXPECT_FALSE(IsInstallEnabled(m_doc));
    RunCommand(m_doc, ID_SELECT_ALL);
    EXPECT_FALSE(IsInstallEnabled(m_doc));
}

// A window standing in for a pane; remembers the private messages it got.
class CMessageSink : public CWnd
{
public:
    CMessageSink() { CreateEx(0, nullptr, "sink", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER)
            m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<UINT> m_messages;
};

TEST_F(CatalogueTest, InstallAndRefreshArePostedToTheDestinationPane)
{
    // Without a pane nothing is posted, and nothing fails.
    RunCommand(m_doc, ID_INSTALL);
    RunCommand(m_doc, ID_REFRESH);

    CMessageSink pane;
    m_doc.m_pDestPane = &pane;
    RunCommand(m_doc, ID_INSTALL);
    RunCommand(m_doc, ID_REFRESH);
    EXPECT_TRUE(pane.m_messages.empty()) << "posted, not sent";
    PumpMessagesUntil([&] { return pane.m_messages.size() == 2; }, 2000);
    EXPECT_EQ((std::vector<UINT>{ UM_INSTALL, UM_REFRESH }), pane.m_messages);
}

}   // namespace

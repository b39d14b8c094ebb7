// A model built and thrown away again and again leaves nothing behind:
// every identifier list goes back to the shell's allocator, every folder
// interface is released.
#include "tests/shell/ModelFixture.h"

#include "tests/support/ProcessUsage.h"

namespace {

using ModelLifetimeTest = ModelTest;

// A root whose R: folder of many folders is listed, and everything
// the tree would ask of each node.
void BuildAndDrop(const std::string& strFolder)
{
    auto pRoot = std::make_unique<CShellFolderNode>();
    pRoot->SetFlags(FNF_NODEVICE);
    CFolderNode* pFolder = pRoot->FindByPath(strFolder.c_str(), 1);
    ASSERT_NE(nullptr, pFolder);
    pFolder->SetEnumLevels(1);
    pFolder->Enumerate();
    ASSERT_EQ(300u, pFolder->GetChildCount());
    for (UINT i = 0; i < pFolder->GetChildCount(); ++i) {
        CFolderNode* pChild = pFolder->GetChild(i);
        pChild->GetIconInfo();
        pChild->IsFileSystem();
        pChild->Compare(pFolder->GetChild(0));
    }
}

TEST_F(ModelLifetimeTest, FiftyModelsOfHundredsOfNodesLeaveMemoryAndHandlesAsTheyWere)
{
    CTempFolder folder("R:\\");
    for (int i = 0; i < 300; ++i)
        folder.MakeFolder("folder " + std::to_string(i));
    // The shell fills its caches on the first rounds.
    for (int i = 0; i < 5; ++i)
        ASSERT_NO_FATAL_FAILURE(BuildAndDrop(folder.Path()));
    const SIZE_T cbBefore = HeapBytesInUse();
    const int nHandlesBefore = CountHandles();
    for (int i = 0; i < 50; ++i)
        ASSERT_NO_FATAL_FAILURE(BuildAndDrop(folder.Path()));
    // One list of each node leaking would be more than 1 MiB by now.
    EXPECT_LT(HeapBytesInUse(), cbBefore + 128 * 1024) << "heap bytes before: " << cbBefore;
    EXPECT_EQ(nHandlesBefore, CountHandles());
}

}   // namespace

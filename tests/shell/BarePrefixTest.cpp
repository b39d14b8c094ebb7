// The model on a machine without removable media or remote API library
// (the build's bare Wine prefix).
#include "device/RapiLink.h"
#include "shell/ShellFolderNode.h"

#include <gtest/gtest.h>

namespace {

TEST(BarePrefix, TheRootHasNothingToShowAndNoExpandButton)
{
    ASSERT_EQ(nullptr, g_rapiLink.m_hRapiLib) << "this prefix has no remote API library";
    CShellFolderNode root;
    root.SetFlags(0xA0);
    root.SetEnumLevels(1);
    root.Enumerate();
    EXPECT_EQ(0u, root.GetChildCount());
    EXPECT_FALSE(root.HasChildren());
}

}   // namespace

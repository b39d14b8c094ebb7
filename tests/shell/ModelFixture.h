// What the destination model's tests share: roots built with the test's
// flags, their children by path, and a handheld emulator when one is asked
// for (otherwise the device link is pointed at a port that refuses at once,
// so no test waits for a handheld that is not there).
#pragma once

// The socket headers go before the system's main header.
#include "tests/platform/rapi/EmulatorProcess.h"

#include "shell/ShellFolderNode.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class ModelTest : public testing::Test
{
protected:
    void SetUp() override { UseEndpoint(m_silent.Endpoint()); }
    void TearDown() override { UseEndpoint(std::string()); }

    // A handheld serving m_handheld, with the emulator's fault options,
    // which the next roots find.
    void StartHandheld(const std::string& strOptions = std::string())
    {
        m_pEmulator = std::make_unique<CEmulatorProcess>(m_handheld.Path(), strOptions);
        ASSERT_NE(0, m_pEmulator->Port()) << "the emulator did not start";
        UseEndpoint(m_pEmulator->Endpoint());
    }

    // A root with nFlags, its first level listed.
    static std::unique_ptr<CShellFolderNode> ListedRoot(UINT nFlags)
    {
        auto pRoot = std::make_unique<CShellFolderNode>();
        pRoot->SetFlags(nFlags);
        pRoot->SetEnumLevels(1);
        pRoot->Enumerate();
        return pRoot;
    }

    static CFolderNode* Listed(CFolderNode* pNode)
    {
        pNode->SetEnumLevels(1);
        pNode->Enumerate();
        return pNode;
    }

    static std::vector<std::string> ChildPaths(CFolderNode* pNode)
    {
        std::vector<std::string> paths;
        for (UINT i = 0; i < pNode->GetChildCount(); ++i)
            paths.push_back(pNode->GetChild(i)->GetPath());
        return paths;
    }

    static std::vector<std::string> ChildNames(CFolderNode* pNode)
    {
        std::vector<std::string> names;
        for (UINT i = 0; i < pNode->GetChildCount(); ++i)
            names.push_back(pNode->GetChild(i)->GetDisplayName());
        return names;
    }

    static CFolderNode* ChildNamed(CFolderNode* pNode, const std::string& strName)
    {
        for (UINT i = 0; i < pNode->GetChildCount(); ++i) {
            if (strName == pNode->GetChild(i)->GetDisplayName())
                return pNode->GetChild(i);
        }
        return nullptr;
    }

    CSilentPort m_silent;
    CTempFolder m_handheld;
    std::unique_ptr<CEmulatorProcess> m_pEmulator;
};

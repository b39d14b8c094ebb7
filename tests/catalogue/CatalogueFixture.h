// A document scanning a content folder that the test builds on disk.
#pragma once

#include "catalogue/TarnixDoc.h"
#include "platform/framework/WinApp.h"
#include "tests/support/ContentFile.h"
#include "tests/support/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class CatalogueTest : public testing::Test
{
protected:
    // A file that the catalogue must accept, titled strTitle.
    std::string AddContent(const std::string& strRelative, const std::string& strTitle, size_t cbLength = 300)
    {
        return m_folder.MakeFile(strRelative, ContentFileBytes(MakeContentHeader(strTitle), cbLength));
    }

    BOOL Scan()
    {
        m_doc.m_strPaths[0] = m_folder.Path().c_str();
        return m_doc.ScanContent(".kda");
    }

    std::vector<std::string> ListedFileNames() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_doc.m_nEntries; ++i)
            names.push_back(m_doc.m_pEntries[i].szFileName);
        return names;
    }

    std::vector<std::string> ListedTitles() const
    {
        std::vector<std::string> titles;
        for (int i = 0; i < m_doc.m_nEntries; ++i)
            titles.push_back(m_doc.m_pEntries[i].szTitle);
        return titles;
    }

    CWinApp m_app;
    CTempFolder m_folder;
    CTarnixDoc m_doc;
};

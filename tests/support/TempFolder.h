// A fresh folder for one test's files, under the temporary folder or under a
// given parent (a test drive); removed with everything in it when the test
// is done.
#pragma once

#include <string>

class CTempFolder
{
public:
    explicit CTempFolder(const std::string& strParent = std::string());
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::string& Path() const { return m_strPath; }
    // The full path of a relative path ("a\\b.kda") inside the folder.
    std::string PathOf(const std::string& strRelative) const;

    // Create a folder or a file (holding strBytes, empty by default), making
    // any missing folders on the way; return its full path.
    std::string MakeFolder(const std::string& strRelative) const;
    std::string MakeFile(const std::string& strRelative, const std::string& strBytes = std::string()) const;

private:
    std::string m_strPath;
};

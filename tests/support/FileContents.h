// What the tests compare after a copy: a file's bytes, and a folder tree's
// files with their bytes; and what shows that nothing was written.
#pragma once

#include <map>
#include <string>

// The file's bytes; empty when it cannot be read.
std::string ContentsOf(const std::string& strPath);

// Every file under the folder, at any depth, by its full path.
std::map<std::string, std::string> FolderContents(const std::string& strFolder);

// Every file under the folder, at any depth, by its full path, with its size
// and the time it was last written: a write of the same bytes shows too.
std::map<std::string, std::string> FolderStamps(const std::string& strFolder);

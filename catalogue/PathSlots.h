// The command line names up to three comma-separated paths: the content
// folder, a second path nothing reads, and the initial destination.
#pragma once

#include "platform/framework/CString.h"

constexpr int PATH_SLOT_COUNT = 3;
constexpr int PATH_SLOT_DESTINATION = 2;   // the initial destination

// Splits the command-line text into the path slots; slots without a piece
// are emptied. An empty text leaves slot 0 as the program's own folder
// (with its trailing backslash).
void SplitPathSlots(LPCSTR pszCmdLine, CString (&strPaths)[PATH_SLOT_COUNT]);

// The folder of the program file, with its trailing backslash; empty when
// the module name holds no backslash.
CString GetProgramFolder();

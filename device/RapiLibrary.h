// Where the program takes the remote API library from: the rapi.dll in the
// program's own folder when there is one (our stand-in may ship there),
// else the system's. Always by full path, so neither the current folder
// nor the search path can put another library in its place.
#pragma once

#include <string>

// The folder of the running program, without a trailing backslash; empty
// when its path does not fit.
std::string ProgramFolder();
// The library's full path for a program in that folder; empty when not even
// the system folder can be named.
std::string RapiLibraryPath(const std::string& strProgramFolder);

// The one line that says why a port could not be bound, and for a port
// below 1024 refused to an ordinary user, the one command that grants
// this program the right to bind it.
#pragma once

#include <cstdint>
#include <string>

std::string BindFailureLine(int nError, std::uint16_t nPort, const std::string& strProgramPath);

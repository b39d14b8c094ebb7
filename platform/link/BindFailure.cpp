#include "platform/link/BindFailure.h"

#include <cerrno>
#include <cstring>

std::string BindFailureLine(int nError, std::uint16_t nPort, const std::string& strProgramPath)
{
    const std::string strPort = "tarnix-link: cannot listen on port " + std::to_string(nPort);
    if (nError == EACCES)
        return strPort + " without the right to bind it; grant it once with: sudo setcap cap_net_bind_service=+ep "
               + strProgramPath;
    return strPort + ": " + std::strerror(nError);
}

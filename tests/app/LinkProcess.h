// tarnix-link, the host build's native program, started by a test under
// Wine for one handheld, serving the stand-in library on a loopback port
// of the system's choosing. Wine hands a program of the system no pipes
// and no process handle, so a script (run-link.sh) runs the link and the
// two talk through files in a folder of the test's: the served endpoint,
// the link's prompts and notices, and the answers the test gives them,
// which reach the link through a pipe as a launcher's would.
#pragma once

#include "tests/support/TempFolder.h"

#include <windows.h>
#include <string>
#include <vector>

class CLinkProcess
{
public:
    // Starts the link with the command-line options strOptions and waits
    // for it to serve.
    explicit CLinkProcess(const std::string& strOptions);
    // Ends the link and waits for it to be gone.
    ~CLinkProcess();
    CLinkProcess(const CLinkProcess&) = delete;
    CLinkProcess& operator=(const CLinkProcess&) = delete;

    // "127.0.0.1:PORT"; empty when the link did not come up.
    const std::string& Endpoint() const { return m_strEndpoint; }
    // The lines the link wrote to its standard error so far.
    std::vector<std::string> Notices() const;
    // Waits until the link has written nLines lines to its standard error.
    bool WaitForNotices(size_t nLines, DWORD dwTimeout) const;
    // One line typed to the link's standard input.
    void Answer(const std::string& strLine) const;

private:
    std::string ServedEndpoint() const;

    CTempFolder m_folder;
    std::string m_strEndpoint;
    bool m_bStarted = false;   // the script runs, and has a stop to be told
};

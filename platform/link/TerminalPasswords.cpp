#include "platform/link/TerminalPasswords.h"

#include "platform/link/Utf8.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
void WriteAll(int fd, const std::string& str)
{
    for (std::size_t nDone = 0; nDone < str.size();) {
        const ssize_t cb = write(fd, str.data() + nDone, str.size() - nDone);
        if (cb <= 0)
            return;
        nDone += static_cast<std::size_t>(cb);
    }
}

// The terminal, opened for the prompt and closed after it.
class CTerminal
{
public:
    CTerminal() : m_fd(open("/dev/tty", O_RDWR | O_NOCTTY)) {}
    ~CTerminal()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    CTerminal(const CTerminal&) = delete;
    CTerminal& operator=(const CTerminal&) = delete;

    int Fd() const { return m_fd; }
    void Write(const std::string& str) const { WriteAll(m_fd, str); }

private:
    int m_fd;
};

// Echo off while it lives; the terminal's settings as they were after.
class CEchoOff
{
public:
    explicit CEchoOff(int fd) : m_fd(fd), m_bSaved(tcgetattr(fd, &m_saved) == 0)
    {
        termios quiet = m_saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        if (m_bSaved)
            tcsetattr(m_fd, TCSAFLUSH, &quiet);
    }
    ~CEchoOff()
    {
        if (m_bSaved)
            tcsetattr(m_fd, TCSAFLUSH, &m_saved);
    }
    CEchoOff(const CEchoOff&) = delete;
    CEchoOff& operator=(const CEchoOff&) = delete;

private:
    int m_fd;
    termios m_saved{};
    bool m_bSaved;
};

// Waits until fd can be read or the wake pipe is written; false for the
// wake pipe.
bool WaitForInput(int fd, int fdWake)
{
    pollfd fds[2] = { { fd, POLLIN, 0 }, { fdWake, POLLIN, 0 } };
    for (;;) {
        const int n = poll(fds, fdWake >= 0 ? 2 : 1, -1);
        if (n > 0)
            return (fds[1].revents & POLLIN) == 0 || fdWake < 0;
        if (n < 0 && errno != EINTR)
            return true;
    }
}

// A pipe or a socket another program writes the answers into; not a file
// or a device (/dev/null) that only looks like input.
bool IsPipe(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}
}   // namespace

CTerminalPasswords::CTerminalPasswords(const PromptTexts& texts, int fdInput, int fdNotice)
    : m_texts(texts), m_fdInput(fdInput), m_fdNotice(fdNotice)
{
    if (pipe2(m_wake, O_CLOEXEC) != 0)
        m_wake[0] = m_wake[1] = -1;
}

CTerminalPasswords::~CTerminalPasswords()
{
    for (int fd : m_wake)
        if (fd >= 0)
            close(fd);
}

void CTerminalPasswords::Cancel()
{
    const char c = 0;
    if (m_wake[1] >= 0 && write(m_wake[1], &c, 1) < 0)
        return;
}

// One line, without its end (a carriage return before it goes too); false
// at the end of input or once cancelled. Read a byte at a time, so that the
// next line stays in the pipe for the next question.
bool CTerminalPasswords::ReadLine(int fd, std::string& str) const
{
    str.clear();
    char c;
    for (;;) {
        if (!WaitForInput(fd, m_wake[0]))
            return false;
        const ssize_t cb = read(fd, &c, 1);
        if (cb < 0 && errno == EINTR)
            continue;
        if (cb <= 0)
            return !str.empty();
        if (c == '\n')
            break;
        str += c;
    }
    if (!str.empty() && str.back() == '\r')
        str.pop_back();
    return true;
}

bool CTerminalPasswords::NextPassword(bool bRetry, std::u16string& strPassword)
{
    const char* pszPrompt = bRetry ? m_texts.pszRetry : m_texts.pszAsk;
    std::string strTyped;
    bool bAnswered = false;
    if (isatty(m_fdInput))
        bAnswered = AskOnTerminal(pszPrompt, strTyped);
    else if (IsPipe(m_fdInput))
        bAnswered = AskThroughPipe(pszPrompt, strTyped);
    return bAnswered && !strTyped.empty() && Utf16FromUtf8(strTyped, strPassword);
}

bool CTerminalPasswords::AskOnTerminal(const char* pszPrompt, std::string& strTyped) const
{
    CTerminal terminal;
    if (terminal.Fd() < 0)
        return false;
    terminal.Write(pszPrompt);
    bool bRead;
    {
        CEchoOff echoOff(terminal.Fd());
        bRead = ReadLine(terminal.Fd(), strTyped);
    }
    terminal.Write("\n");
    return bRead;
}

bool CTerminalPasswords::AskThroughPipe(const char* pszPrompt, std::string& strTyped) const
{
    WriteAll(m_fdNotice, std::string(pszPrompt) + "\n");
    return ReadLine(m_fdInput, strTyped);
}

void CTerminalPasswords::ShowUnlockNotice()
{
    WriteAll(m_fdNotice, std::string(m_texts.pszUnlockOnDevice) + "\n");
}

#include "platform/link/TerminalPasswords.h"

#include "platform/link/Utf8.h"

#include <fcntl.h>
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

// One line, without its end (a carriage return before it goes too); false
// at the end of input. Read a byte at a time, so that the next line stays
// in the pipe for the next question.
bool ReadLine(int fd, std::string& str)
{
    str.clear();
    char c;
    for (;;) {
        const ssize_t cb = read(fd, &c, 1);
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

// A pipe or a socket another program writes the answers into; not a file
// or a device (/dev/null) that only looks like input.
bool IsPipe(int fd)
{
    struct stat st;
    return fstat(fd, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode));
}
}   // namespace

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

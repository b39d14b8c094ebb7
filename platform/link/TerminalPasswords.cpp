#include "platform/link/TerminalPasswords.h"

#include "platform/link/Utf8.h"

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {
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
    void Write(const std::string& str) const
    {
        if (write(m_fd, str.data(), str.size()) < 0)
            return;
    }

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

// One line, without its end; false at the end of input.
bool ReadLine(int fd, std::string& str)
{
    str.clear();
    char c;
    for (;;) {
        const ssize_t cb = read(fd, &c, 1);
        if (cb <= 0)
            return !str.empty();
        if (c == '\n')
            return true;
        str += c;
    }
}
}   // namespace

bool CTerminalPasswords::NextPassword(bool bRetry, std::u16string& strPassword)
{
    CTerminal terminal;
    if (terminal.Fd() < 0)
        return false;
    terminal.Write(bRetry ? m_texts.pszRetry : m_texts.pszAsk);
    std::string strTyped;
    bool bRead;
    {
        CEchoOff echoOff(terminal.Fd());
        bRead = ReadLine(terminal.Fd(), strTyped);
    }
    terminal.Write("\n");
    return bRead && !strTyped.empty() && Utf16FromUtf8(strTyped, strPassword);
}

void CTerminalPasswords::ShowUnlockNotice()
{
    std::fprintf(stderr, "%s\n", m_texts.pszUnlockOnDevice);
}

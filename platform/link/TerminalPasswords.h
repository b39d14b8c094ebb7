// The password source of tarnix-link. With a terminal on standard input,
// a prompt there, the typed characters not echoed. With a pipe there (a
// launcher without a terminal, or a test), the prompt's text goes to
// standard error as one line and the answer is the next line read from
// the pipe. An empty answer, the end of input or no input at all means the
// user gives up; so does a question still open when the link stops.
#pragma once

#include "platform/handheldlink/PasswordSource.h"
#include "platform/link/PromptTexts.h"

#include <unistd.h>

class CTerminalPasswords : public handheldlink::IPasswordSource
{
public:
    explicit CTerminalPasswords(const PromptTexts& texts, int fdInput = STDIN_FILENO, int fdNotice = STDERR_FILENO);
    ~CTerminalPasswords() override;
    CTerminalPasswords(const CTerminalPasswords&) = delete;
    CTerminalPasswords& operator=(const CTerminalPasswords&) = delete;

    bool NextPassword(bool bRetry, std::u16string& strPassword) override;
    void ShowUnlockNotice() override;
    // A line on the terminal stays where it is.
    void EndUnlockNotice() override {}
    // Ends a question waiting for its answer, and every later one, as if
    // the user gave up: the link's control thread can then be stopped.
    void Cancel();

private:
    bool AskOnTerminal(const char* pszPrompt, std::string& strTyped) const;
    bool AskThroughPipe(const char* pszPrompt, std::string& strTyped) const;
    bool ReadLine(int fd, std::string& str) const;

    const PromptTexts& m_texts;
    int m_fdInput;
    int m_fdNotice;
    int m_wake[2] = { -1, -1 };   // a byte written to [1] ends the waits on [0]
};

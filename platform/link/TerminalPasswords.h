// The password source of tarnix-link. With a terminal on standard input,
// a prompt there, the typed characters not echoed. With a pipe there (a
// launcher without a terminal, or a test), the prompt's text goes to
// standard error as one line and the answer is the next line read from
// the pipe. An empty answer, the end of input or no input at all means the
// user gives up.
#pragma once

#include "platform/handheldlink/PasswordSource.h"
#include "platform/link/PromptTexts.h"

#include <unistd.h>

class CTerminalPasswords : public handheldlink::IPasswordSource
{
public:
    explicit CTerminalPasswords(const PromptTexts& texts, int fdInput = STDIN_FILENO, int fdNotice = STDERR_FILENO)
        : m_texts(texts), m_fdInput(fdInput), m_fdNotice(fdNotice)
    {
    }

    bool NextPassword(bool bRetry, std::u16string& strPassword) override;
    void ShowUnlockNotice() override;

private:
    bool AskOnTerminal(const char* pszPrompt, std::string& strTyped) const;
    bool AskThroughPipe(const char* pszPrompt, std::string& strTyped) const;

    const PromptTexts& m_texts;
    int m_fdInput;
    int m_fdNotice;
};

// The password source of tarnix-link: a prompt on the controlling
// terminal, the typed characters not echoed. An empty answer, the end of
// input or no terminal at all means the user gives up.
#pragma once

#include "platform/handheldlink/PasswordSource.h"
#include "platform/link/PromptTexts.h"

class CTerminalPasswords : public handheldlink::IPasswordSource
{
public:
    explicit CTerminalPasswords(const PromptTexts& texts) : m_texts(texts) {}

    bool NextPassword(bool bRetry, std::u16string& strPassword) override;
    void ShowUnlockNotice() override;

private:
    const PromptTexts& m_texts;
};

// The password prompt's texts, in traditional or simplified Chinese as the
// locale says (zh_CN: simplified; anything else: traditional).
#pragma once

struct PromptTexts
{
    const char* pszAsk;
    const char* pszRetry;
    const char* pszUnlockOnDevice;
};

// LC_ALL wins over LANG, as the C library has it; either may be null.
const PromptTexts& PromptTextsFor(const char* pszLcAll, const char* pszLang);

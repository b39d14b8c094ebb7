#include "platform/link/PromptTexts.h"

#include <cstring>

namespace {
const PromptTexts TRADITIONAL = { "請輸入掌上型裝置的密碼：", "密碼錯誤，請再輸入一次：",
                                  "請在掌上型裝置的螢幕上解除鎖定。" };
const PromptTexts SIMPLIFIED = { "请输入掌上设备的密码：", "密码错误，请再输入一次：",
                                 "请在掌上设备的屏幕上解除锁定。" };

bool IsSet(const char* psz)
{
    return psz && *psz;
}
}   // namespace

const PromptTexts& PromptTextsFor(const char* pszLcAll, const char* pszLang)
{
    const char* pszLocale = IsSet(pszLcAll) ? pszLcAll : pszLang;
    return IsSet(pszLocale) && std::strncmp(pszLocale, "zh_CN", 5) == 0 ? SIMPLIFIED : TRADITIONAL;
}

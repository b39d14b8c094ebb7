#include "platform/link/BindFailure.h"
#include "platform/link/LinkOptions.h"
#include "platform/link/PromptTexts.h"
#include "platform/link/Utf8.h"

#include <gtest/gtest.h>

#include <cerrno>

TEST(LinkOptions, ParsedOrRefusedWithAReason)
{
    LinkOptions options;
    std::string strError;
    ASSERT_TRUE(
        ParseLinkOptions({ "--mode", "legacy", "--device-address", "192.168.131.129", "--pc-address", "192.168.131.1",
                           "--trigger-port", "0", "--usb-port", "40990", "--legacy-control-port", "45679",
                           "--legacy-session-port", "65535", "--serve", "127.0.0.1:0" },
                         options, strError));
    EXPECT_EQ(LinkMode::Legacy, options.mode);
    EXPECT_EQ("192.168.131.129", options.strDeviceAddress);
    EXPECT_EQ("192.168.131.1", options.strPcAddress);
    EXPECT_EQ(0, options.nTriggerPort);
    EXPECT_EQ(40990, options.nUsbPort);
    EXPECT_EQ(45679, options.nLegacyControlPort);
    EXPECT_EQ(65535, options.nLegacySessionPort);
    EXPECT_EQ("127.0.0.1", options.strServeAddress);
    EXPECT_EQ(0, options.nServePort);

    const LinkOptions defaults;
    EXPECT_EQ(LinkMode::Auto, defaults.mode);
    EXPECT_EQ(47291, defaults.nServePort);
    EXPECT_EQ(990, defaults.nUsbPort);

    const std::vector<std::vector<std::string>> refused = {
        { "--mode", "serial" },
        { "--usb-port", "65536" },
        { "--usb-port", "-1" },
        { "--usb-port", "99999999999" },
        { "--device-address", "1.2.3" },
        { "--serve", "127.0.0.1" },
        { "--serve", "localhost:1" },
        { "--serve", "0.0.0.0:47291" },
        { "--serve", "192.168.1.23:47291" },
        { "--pc-address" },
        { "--verbose", "1" },
    };
    for (const std::vector<std::string>& args : refused) {
        SCOPED_TRACE(args.front());
        LinkOptions parsed;
        strError.clear();
        EXPECT_FALSE(ParseLinkOptions(args, parsed, strError));
        EXPECT_NE(std::string::npos, strError.find(args.front()));
    }
}

TEST(PromptTexts, ChosenByTheLocale)
{
    const PromptTexts& simplified = PromptTextsFor("zh_CN.UTF-8", nullptr);
    const PromptTexts& traditional = PromptTextsFor(nullptr, "zh_TW.UTF-8");
    EXPECT_NE(&simplified, &traditional);
    struct Case
    {
        const char* pszLcAll;
        const char* pszLang;
        const PromptTexts* pExpected;
    } cases[] = {
        { nullptr, "zh_CN.UTF-8", &simplified },        { "zh_CN.UTF-8", "zh_TW.UTF-8", &simplified },
        { "zh_TW.UTF-8", "zh_CN.UTF-8", &traditional }, { "", "zh_CN.UTF-8", &simplified },
        { nullptr, "en_US.UTF-8", &traditional },       { nullptr, nullptr, &traditional },
    };
    for (const Case& test : cases)
        EXPECT_EQ(test.pExpected, &PromptTextsFor(test.pszLcAll, test.pszLang));
}

TEST(Utf8, TypedPasswordsBecomeUtf16)
{
    struct Case
    {
        std::string strIn;
        bool bOk;
        std::u16string strOut;
    } cases[] = {
        { "pw1234", true, u"pw1234" },
        { "\xE5\xAF\x86\xE7\xA2\xBC", true, u"\u5BC6\u78BC" },
        { "\xF0\x9F\x94\x91", true, u"\U0001F511" },
        { "\xC3", false, u"" },               // cut short
        { "\xC0\xAF", false, u"" },           // over-long
        { "\xED\xA0\x80", false, u"" },       // a surrogate
        { "a\x80", false, u"" },              // no lead byte
        { "\xF4\x90\x80\x80", false, u"" },   // beyond U+10FFFF
    };
    for (const Case& test : cases) {
        std::u16string strOut;
        EXPECT_EQ(test.bOk, Utf16FromUtf8(test.strIn, strOut)) << test.strIn;
        EXPECT_EQ(test.strOut, test.bOk ? strOut : u"");
    }
}

TEST(BindFailure, NamesTheOneStepWhenThePortIsPrivileged)
{
    const std::string strDenied = BindFailureLine(EACCES, 990, "/usr/local/bin/tarnix-link");
    EXPECT_NE(std::string::npos, strDenied.find("sudo setcap cap_net_bind_service=+ep /usr/local/bin/tarnix-link"));
    EXPECT_NE(std::string::npos, strDenied.find("990"));
    const std::string strInUse = BindFailureLine(EADDRINUSE, 47291, "/x");
    EXPECT_NE(std::string::npos, strInUse.find("47291"));
    EXPECT_EQ(std::string::npos, strInUse.find("setcap"));
}

// The password prompt without a terminal: questions on the notice line,
// answers read from a pipe one line each, and no input at all as giving up.
#include "platform/link/PromptTexts.h"
#include "platform/link/TerminalPasswords.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <string>
#include <unistd.h>

namespace {
// Both ends of a pipe, closed with the test.
class CPipe
{
public:
    CPipe()
    {
        if (pipe(m_fds) != 0)
            m_fds[0] = m_fds[1] = -1;
    }
    ~CPipe()
    {
        CloseWriteEnd();
        if (m_fds[0] >= 0)
            close(m_fds[0]);
    }
    CPipe(const CPipe&) = delete;
    CPipe& operator=(const CPipe&) = delete;

    int ReadEnd() const { return m_fds[0]; }
    int WriteEnd() const { return m_fds[1]; }
    void Write(const std::string& str) const
    {
        ASSERT_EQ(static_cast<ssize_t>(str.size()), write(m_fds[1], str.data(), str.size()));
    }
    void CloseWriteEnd()
    {
        if (m_fds[1] >= 0)
            close(m_fds[1]);
        m_fds[1] = -1;
    }
    // What was written so far, without waiting for more.
    std::string Written() const
    {
        fcntl(m_fds[0], F_SETFL, O_NONBLOCK);
        std::string str;
        char buffer[256];
        ssize_t cb;
        while ((cb = read(m_fds[0], buffer, sizeof(buffer))) > 0)
            str.append(buffer, static_cast<std::size_t>(cb));
        return str;
    }

private:
    int m_fds[2];
};

const PromptTexts& Texts()
{
    return PromptTextsFor("zh_TW.UTF-8", nullptr);
}
}   // namespace

TEST(PipePasswords, EachQuestionTakesTheNextLineUntilTheInputEnds)
{
    CPipe input, notices;
    input.Write("wrong\r\n\xE5\xAF\x86\xE7\xA2\xBC\n");
    input.CloseWriteEnd();
    CTerminalPasswords passwords(Texts(), input.ReadEnd(), notices.WriteEnd());

    std::u16string strPassword;
    ASSERT_TRUE(passwords.NextPassword(false, strPassword));
    EXPECT_EQ(u"wrong", strPassword) << "the carriage return of a Windows line end is not part of it";
    EXPECT_EQ(std::string(Texts().pszAsk) + "\n", notices.Written());
    ASSERT_TRUE(passwords.NextPassword(true, strPassword));
    EXPECT_EQ(u"\u5BC6\u78BC", strPassword);
    EXPECT_EQ(std::string(Texts().pszRetry) + "\n", notices.Written());
    EXPECT_FALSE(passwords.NextPassword(true, strPassword)) << "the end of input gives up";
    EXPECT_EQ(std::string(Texts().pszRetry) + "\n", notices.Written()) << "asked before the end was seen";

    passwords.ShowUnlockNotice();
    EXPECT_EQ(std::string(Texts().pszUnlockOnDevice) + "\n", notices.Written());
}

TEST(PipePasswords, AnEmptyOrUnreadableAnswerGivesUp)
{
    for (const std::string& strAnswer : { std::string("\n"), std::string("\r\n"), std::string("\xC3\n") }) {
        CPipe input, notices;
        input.Write(strAnswer + "later\n");
        CTerminalPasswords passwords(Texts(), input.ReadEnd(), notices.WriteEnd());
        std::u16string strPassword;
        EXPECT_FALSE(passwords.NextPassword(false, strPassword)) << strAnswer;
    }
}

// The link stops while a question waits for its answer: the question ends
// at once, and so does any later one, so that the control thread can end.
TEST(PipePasswords, AQuestionWaitingWhenTheLinkStopsIsGivenUp)
{
    CPipe input, notices;
    CTerminalPasswords passwords(Texts(), input.ReadEnd(), notices.WriteEnd());
    std::u16string strPassword;
    auto waiting = std::async(std::launch::async, [&] { return passwords.NextPassword(false, strPassword); });
    EXPECT_EQ(std::future_status::timeout, waiting.wait_for(std::chrono::milliseconds(200))) << "no answer yet";
    passwords.Cancel();
    ASSERT_EQ(std::future_status::ready, waiting.wait_for(std::chrono::seconds(5)));
    EXPECT_FALSE(waiting.get());
    input.Write("secret\n");
    EXPECT_FALSE(passwords.NextPassword(true, strPassword)) << "nor is a later question answered";
}

TEST(PipePasswords, InputThatIsNoPipeGivesUpWithoutAsking)
{
    const int fdNull = open("/dev/null", O_RDONLY);
    char szFile[] = "/tmp/tarnix-link-answersXXXXXX";
    const int fdFile = mkstemp(szFile);
    ASSERT_GE(fdNull, 0);
    ASSERT_GE(fdFile, 0);
    unlink(szFile);
    ASSERT_EQ(7, write(fdFile, "secret\n", 7));
    lseek(fdFile, 0, SEEK_SET);
    for (const int fdInput : { fdNull, fdFile, -1 }) {
        CPipe notices;
        CTerminalPasswords passwords(Texts(), fdInput, notices.WriteEnd());
        std::u16string strPassword;
        EXPECT_FALSE(passwords.NextPassword(false, strPassword)) << fdInput;
        EXPECT_EQ("", notices.Written()) << fdInput;
    }
    close(fdNull);
    close(fdFile);
}

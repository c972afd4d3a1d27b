// The spelling client against a small HTTP server on a loopback port that
// the test starts: the request it sends, the answers it reads, a slow
// answer past its time limit, a refused connection, answers that are no
// JSON or hold no sentence, and the in-process provider behind "local".
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Global/Globals.h"
#include "Spelling/SpellingChecker.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

// Answers every request with the reply its handler gives for the request
// (request line and body), after an optional delay.
class CLoopbackHttpServer {
public:
    using Handler = std::function<std::string(const std::string& sRequestLine, const std::string& sBody)>;

    explicit CLoopbackHttpServer(Handler handler, int nDelayMs = 0) : m_handler(std::move(handler)), m_nDelayMs(nDelayMs)
    {
        m_nListen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        int nOn = 1;
        setsockopt(m_nListen, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof(nOn));
        if (bind(m_nListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(m_nListen, 8) != 0)
            return;
        socklen_t nLen = sizeof(addr);
        getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &nLen);
        m_nPort = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~CLoopbackHttpServer()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bStop = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        close(m_nListen);
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_nPort); }
    int Port() const { return m_nPort; }
    std::vector<std::string> Bodies()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vecBodies;
    }
    std::vector<std::string> RequestLines()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vecRequestLines;
    }

    static std::string Reply(const std::string& sBody, const char* sStatus = "200 OK")
    {
        return std::string("HTTP/1.1 ") + sStatus + "\r\nContent-Type: application/json\r\nContent-Length: " +
               std::to_string(sBody.size()) + "\r\nConnection: close\r\n\r\n" + sBody;
    }

private:
    bool Stopping()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bStop;
    }
    void Serve()
    {
        while (!Stopping()) {
            pollfd pfd{m_nListen, POLLIN, 0};
            if (poll(&pfd, 1, 50) <= 0)
                continue;
            int nConn = accept(m_nListen, nullptr, nullptr);
            if (nConn < 0)
                continue;
            Answer(nConn);
            close(nConn);
        }
    }
    void Answer(int nConn)
    {
        std::string sIn;
        char buf[4096];
        size_t nHeaderEnd = std::string::npos, nWanted = 0;
        while (true) {
            pollfd pfd{nConn, POLLIN, 0};
            if (poll(&pfd, 1, 2000) <= 0)
                return;
            ssize_t n = recv(nConn, buf, sizeof(buf), 0);
            if (n <= 0)
                return;
            sIn.append(buf, static_cast<size_t>(n));
            if (nHeaderEnd == std::string::npos && (nHeaderEnd = sIn.find("\r\n\r\n")) != std::string::npos) {
                size_t nAt = sIn.find("Content-Length:");
                nWanted = nAt == std::string::npos ? 0 : std::stoul(sIn.substr(nAt + 15));
            }
            if (nHeaderEnd != std::string::npos && sIn.size() >= nHeaderEnd + 4 + nWanted)
                break;
        }
        std::string sLine = sIn.substr(0, sIn.find("\r\n"));
        std::string sBody = sIn.substr(nHeaderEnd + 4, nWanted);
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_vecRequestLines.push_back(sLine);
            m_vecBodies.push_back(sBody);
            if (m_nDelayMs > 0 && m_wake.wait_for(lock, std::chrono::milliseconds(m_nDelayMs), [this] { return m_bStop; }))
                return;
        }
        std::string sOut = m_handler(sLine, sBody);
        send(nConn, sOut.data(), sOut.size(), MSG_NOSIGNAL);
    }

    Handler m_handler;
    int m_nDelayMs;
    int m_nListen = -1;
    int m_nPort = 0;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStop = false;
    std::vector<std::string> m_vecBodies, m_vecRequestLines;
};

const char* const kAnswer =
    R"({"pred_sentences":[{"sentence":"我们使用计算机","detail":[{"org":"鸡","revise":"机","start":6,"end":7}]}]})";

class SpellingClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sHostBefore = g_sSpellingHostIP;
        m_sLogBefore = g_sLogPath;
        g_sLogPath = m_logs.Path();
        SetSpellingTimeouts(2000, 2000);
    }
    void TearDown() override
    {
        g_sSpellingHostIP = m_sHostBefore;
        g_sLogPath = m_sLogBefore;
        SetSpellingTimeouts(0, 0);
        SetLocalSpellingProvider(nullptr);
    }
    // Everything the error log holds so far.
    std::string ErrorLog() const
    {
        std::ifstream in(m_logs.Path() + "/" + FormatLocalTime("%Y%m%d") + ".err");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    CSwitchGuard m_log{g_bLog, true};
    CTempDir m_logs;
    std::string m_sHostBefore, m_sLogBefore;
};

TEST_F(SpellingClientTest, PostsTheSentenceAndReadsTheCorrections)
{
    CLoopbackHttpServer server([](const std::string&, const std::string&) { return CLoopbackHttpServer::Reply(kAnswer); });
    g_sSpellingHostIP = server.Address();
    std::vector<_spell_check_result> vecResults(3);
    ASSERT_TRUE(SpellingChecker("我们使用计算鸡", vecResults));
    ASSERT_EQ(vecResults.size(), 1u);
    EXPECT_EQ(vecResults[0].orig, "鸡");
    EXPECT_EQ(vecResults[0].revise, "机");
    EXPECT_EQ(vecResults[0].start, 6u);
    EXPECT_EQ(vecResults[0].end, 7u);
    ASSERT_EQ(server.Bodies().size(), 1u);
    EXPECT_EQ(server.Bodies()[0], "\"sentence\"=\"我们使用计算鸡\"");
    EXPECT_EQ(server.RequestLines()[0], "POST /get_maybe_sentence HTTP/1.1");
}

TEST_F(SpellingClientTest, LocalEncodingGoesOutAsUtf8AndComesBackConverted)
{
    CLoopbackHttpServer server([](const std::string&, const std::string&) { return CLoopbackHttpServer::Reply(kAnswer); });
    g_sSpellingHostIP = server.Address();
    std::string sGbk;
    ASSERT_TRUE(Utf8ToGbk("我们使用计算鸡", sGbk));
    std::optional<std::string> sAnswer = SpellingChecker(sGbk.c_str(), 0);
    ASSERT_TRUE(sAnswer.has_value());
    std::string sExpected;
    ASSERT_TRUE(Utf8ToGbk(kAnswer, sExpected));
    EXPECT_EQ(*sAnswer, sExpected);
    EXPECT_EQ(server.Bodies().at(0), "\"sentence\"=\"我们使用计算鸡\"");
    EXPECT_FALSE(SpellingChecker("", 1).has_value());
    EXPECT_FALSE(SpellingChecker(nullptr, 1).has_value());
}

TEST_F(SpellingClientTest, ASlowServerIsGivenUpAtTheTimeLimit)
{
    CLoopbackHttpServer server([](const std::string&, const std::string&) { return CLoopbackHttpServer::Reply(kAnswer); },
                               5000);
    g_sSpellingHostIP = server.Address();
    SetSpellingTimeouts(300, 300);
    auto tStart = std::chrono::steady_clock::now();
    std::vector<_spell_check_result> vecResults;
    EXPECT_FALSE(SpellingChecker("我们使用计算鸡", vecResults));
    // Far below the server's delay: the limit ended the wait.
    EXPECT_LT(std::chrono::steady_clock::now() - tStart, std::chrono::seconds(4));
    EXPECT_NE(ErrorLog().find("curl_easy_perform() failed: "), std::string::npos);
    // The server is given a rest: the next sentence is not sent at all.
    EXPECT_FALSE(SpellingChecker("他们使用计算鸡", vecResults));
    EXPECT_EQ(server.Bodies().size(), 1u);
}

TEST_F(SpellingClientTest, ARefusedConnectionFailsCleanly)
{
    int nPort = 0;
    {
        CLoopbackHttpServer closed([](const std::string&, const std::string&) { return std::string(); });
        nPort = closed.Port();
    }
    g_sSpellingHostIP = "127.0.0.1:" + std::to_string(nPort);
    std::vector<_spell_check_result> vecResults;
    EXPECT_FALSE(SpellingChecker("我们使用计算鸡", vecResults));
    EXPECT_TRUE(vecResults.empty());
    g_sSpellingHostIP.clear();  // no address at all
    EXPECT_FALSE(SpellingChecker("我们使用计算鸡", vecResults));
}

TEST_F(SpellingClientTest, AnswersWithoutCorrections)
{
    std::string sReply;
    CLoopbackHttpServer server([&](const std::string&, const std::string&) { return sReply; });
    g_sSpellingHostIP = server.Address();
    std::vector<_spell_check_result> vecResults;

    sReply = CLoopbackHttpServer::Reply("<html>Bad Gateway</html>");
    EXPECT_FALSE(SpellingChecker("我们", vecResults));
    EXPECT_NE(ErrorLog().find("parse json string failed:<html>Bad Gateway</html>"), std::string::npos);

    sReply = CLoopbackHttpServer::Reply(R"({"pred_sentences":[]})");
    EXPECT_FALSE(SpellingChecker("我们", vecResults));
    EXPECT_TRUE(vecResults.empty());

    sReply = CLoopbackHttpServer::Reply(R"({"pred_sentences":[{"detail":[]}]})");
    EXPECT_TRUE(SpellingChecker("我们", vecResults));
    EXPECT_TRUE(vecResults.empty());

    sReply = CLoopbackHttpServer::Reply(kAnswer, "503 Service Unavailable");
    EXPECT_FALSE(SpellingChecker("我们", vecResults));
    EXPECT_NE(ErrorLog().find("HTTP 503"), std::string::npos);
}

TEST_F(SpellingClientTest, AnswerFieldsOfTheWrongTypeAreSkipped)
{
    std::vector<_spell_check_result> vecResults;
    EXPECT_EQ(ParseSpellingAnswer(R"({"pred_sentences":[{"detail":[{"org":1,"revise":"x"},)"
                                  R"({"org":"a","revise":"b","start":-4,"end":"x"}]}]})",
                                  vecResults),
              1);
    ASSERT_EQ(vecResults.size(), 1u);
    EXPECT_EQ(vecResults[0].start, 0u);
    EXPECT_EQ(ParseSpellingAnswer(R"({"pred_sentences":[{}]})", vecResults), 1);
    EXPECT_EQ(ParseSpellingAnswer(R"([1,2])", vecResults), 0);
    EXPECT_EQ(ParseSpellingAnswer(R"({"pred_sentences":[{"detail":{}}]})", vecResults), 0);
    EXPECT_EQ(ParseSpellingAnswer("{", vecResults), -1);
}

TEST_F(SpellingClientTest, LocalAddressAsksTheRegisteredProvider)
{
    g_sSpellingHostIP = "local";
    std::vector<_spell_check_result> vecResults;
    EXPECT_FALSE(SpellingChecker("我们使用计算鸡", vecResults));
    EXPECT_NE(ErrorLog().find("no local spelling service"), std::string::npos);

    std::string sAsked;
    SetLocalSpellingProvider([&](const std::string& s) {
        sAsked = s;
        return std::string(kAnswer);
    });
    ASSERT_TRUE(SpellingChecker("我们使用计算鸡", vecResults));
    EXPECT_EQ(sAsked, "我们使用计算鸡");
    ASSERT_EQ(vecResults.size(), 1u);

    SetLocalSpellingProvider([](const std::string&) -> std::string { throw std::runtime_error("model not loaded"); });
    EXPECT_FALSE(SpellingChecker("我们使用计算鸡", vecResults));
    EXPECT_NE(ErrorLog().find("model not loaded"), std::string::npos);
}

TEST_F(SpellingClientTest, ChecksOnSeveralThreadsAtOnce)
{
    CLoopbackHttpServer server([](const std::string&, const std::string&) { return CLoopbackHttpServer::Reply(kAnswer); });
    g_sSpellingHostIP = server.Address();
    std::atomic<int> nGood{0};
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < 4; ++t)
        vecThreads.emplace_back([&] {
            std::vector<_spell_check_result> vecResults;
            for (int k = 0; k < 3; ++k)
                if (SpellingChecker("我们使用计算鸡", vecResults) && vecResults.size() == 1)
                    ++nGood;
        });
    for (std::thread& t : vecThreads)
        t.join();
    EXPECT_EQ(nGood.load(), 12);
}

}  // namespace

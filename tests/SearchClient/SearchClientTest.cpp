// The exported search client against scripted loopback servers: the bytes
// of its requests, answers read in pieces, with a negative or zero length,
// answers cut short, oversized, corrupt or never sent, a refused
// connection, concurrent queries, and the time limit of SearchAgent.xml.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "API/SharedServices.h"
#include "Global/Globals.h"
#include "ScriptedServer.h"
#include "SearchClient/QuickLZEncoder.h"
#include "SearchClient/SearchAgentConfig.h"
#include "SearchClient/SearchFrame.h"
#include "support/TempDir.h"
#include "veskar.h"

namespace {

const char* const kAnswer =
    "<Total-Number>1</Total-Number><Return-Number>1</Return-Number><Document><Safety_Tiaowenhao>GB 50016-2014"
    "</Safety_Tiaowenhao><Memo>1</Memo></Document>";

std::string Frame(const std::string& sText)
{
    return CSearchFrame::Answer(CQuickLZEncoder().Compress(sText));
}

std::string LengthBytes(int32_t nLength)
{
    std::string s;
    CSearchFrame::PutBE32(s, static_cast<uint32_t>(nLength));
    return s;
}

// Points the client at a data folder whose SearchAgent.xml sets the time
// limit, and back to none (the built-in 30 s) afterwards.
class CTimeLimit {
public:
    explicit CTimeLimit(int nSeconds)
    {
        WriteTestFile(m_dir.File("Data/SearchAgent.xml"),
                      "<SearchAgent><TimeoutSeconds>" + std::to_string(nSeconds) + "</TimeoutSeconds></SearchAgent>");
        g_sInitDir = m_dir.Path();
    }
    ~CTimeLimit() { g_sInitDir.clear(); }

private:
    CTempDir m_dir;
};

const char* Ask(int nPort, const char* sQuery = "[field] Safety_Tiaowen [whole] 建筑设计防火规范")
{
    return orlosearch_query_client(sQuery, 0, 10, "127.0.0.1", nPort);
}

}  // namespace

TEST(SearchClient, RequestFramesCarryStartCountAndQueryBigEndian)
{
    std::vector<std::string> vecRequests;
    std::mutex mutex;
    CScriptedServer server([&](int nSocket) {
        std::string sRequest = CScriptedServer::ReadRequest(nSocket);
        {
            std::lock_guard<std::mutex> lock(mutex);
            vecRequests.push_back(sRequest);
        }
        CScriptedServer::Send(nSocket, Frame(kAnswer));
    });
    const char* sAnswer = orlosearch_query_client("", 0, 10, "127.0.0.1", server.Port());
    ASSERT_NE(sAnswer, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_STREQ(sAnswer, kAnswer);
    std::string sQuery = "[field] file_name [and] 建筑设计防火规范 [field] section_no [whole] 5.2.2";
    ASSERT_NE(orlosearch_query_client(sQuery.c_str(), 3, -1, "localhost", server.Port()), nullptr);
    ASSERT_EQ(vecRequests.size(), 2u);
    EXPECT_EQ(vecRequests[0], std::string("\0\0\0\x0c\0\0\0\0\0\0\0\x0a\0\0\0\0", 16));
    std::string sExpected = LengthBytes(static_cast<int32_t>(12 + sQuery.size())) + LengthBytes(3) +
                            std::string("\xff\xff\xff\xff", 4) + LengthBytes(static_cast<int32_t>(sQuery.size())) +
                            sQuery;
    EXPECT_EQ(vecRequests[1], sExpected);
}

TEST(SearchClient, AnswersArriveInPiecesOrWithANegativeOrZeroLength)
{
    CScriptedServer dripping([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        for (char c : Frame(kAnswer)) {
            CScriptedServer::Send(nSocket, std::string(1, c));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const char* sAnswer = Ask(dripping.Port());
    ASSERT_NE(sAnswer, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_STREQ(sAnswer, kAnswer);

    CScriptedServer negative([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        std::string sBlock = CQuickLZEncoder().Compress(std::string(kAnswer));
        CScriptedServer::Send(nSocket, LengthBytes(-static_cast<int32_t>(sBlock.size())) + sBlock);
    });
    sAnswer = Ask(negative.Port());
    ASSERT_NE(sAnswer, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_STREQ(sAnswer, kAnswer);

    CScriptedServer zero([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        CScriptedServer::Send(nSocket, LengthBytes(0));
    });
    sAnswer = Ask(zero.Port());
    ASSERT_NE(sAnswer, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_STREQ(sAnswer, "");
}

TEST(SearchClient, CutShortOversizedAndCorruptAnswersGiveNull)
{
    CScriptedServer closesAfterLength([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        CScriptedServer::Send(nSocket, LengthBytes(100));
    });
    EXPECT_EQ(Ask(closesAfterLength.Port()), nullptr);
    EXPECT_NE(std::strstr(VESKAR_GetLastErrorMsg(), "closed the connection"), nullptr) << VESKAR_GetLastErrorMsg();

    CScriptedServer halfLength([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        CScriptedServer::Send(nSocket, std::string("\0\0", 2));
    });
    EXPECT_EQ(Ask(halfLength.Port()), nullptr);

    CScriptedServer oversized([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        CScriptedServer::Send(nSocket, LengthBytes((64 << 20) + 1) + "xxxx");
    });
    EXPECT_EQ(Ask(oversized.Port()), nullptr);
    EXPECT_NE(std::strstr(VESKAR_GetLastErrorMsg(), "over the limit"), nullptr) << VESKAR_GetLastErrorMsg();

    CScriptedServer corrupt([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        std::string sBlock = CQuickLZEncoder().Compress(std::string(kAnswer));
        sBlock[1] = static_cast<char>(sBlock[1] + 1);  // total disagrees with the frame
        CScriptedServer::Send(nSocket, CSearchFrame::Answer(sBlock));
    });
    EXPECT_EQ(Ask(corrupt.Port()), nullptr);
    EXPECT_NE(std::strstr(VESKAR_GetLastErrorMsg(), "corrupt search answer"), nullptr) << VESKAR_GetLastErrorMsg();

    // A block whose header promises far more text than any answer holds.
    CScriptedServer bomb([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        std::string sBlock(4u << 20, '\0');
        sBlock[0] = 0x47;
        for (int i = 0; i < 4; ++i) {
            sBlock[1 + i] = static_cast<char>((sBlock.size() >> (8 * i)) & 0xFF);
            sBlock[5 + i] = static_cast<char>(((300u << 20) >> (8 * i)) & 0xFF);
        }
        CScriptedServer::Send(nSocket, CSearchFrame::Answer(sBlock));
    });
    EXPECT_EQ(Ask(bomb.Port()), nullptr);
    EXPECT_NE(std::strstr(VESKAR_GetLastErrorMsg(), "would decompress to"), nullptr) << VESKAR_GetLastErrorMsg();

    CScriptedServer notQuickLZ([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        CScriptedServer::Send(nSocket, CSearchFrame::Answer(kAnswer));
    });
    EXPECT_EQ(Ask(notQuickLZ.Port()), nullptr);
}

TEST(SearchClient, RefusedConnectionAndInvalidAddressesEndCleanly)
{
    int nPort = 0;
    {
        CScriptedServer closed([](int) {});
        nPort = closed.Port();
    }  // nothing listens there any more
    EXPECT_EQ(Ask(nPort), nullptr);
    EXPECT_NE(std::strstr(VESKAR_GetLastErrorMsg(), "cannot connect to server"), nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_EQ(orlosearch_query_client("q", 0, 10, nullptr, 80), nullptr);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "Host IP or Port ID is invalid!");
    EXPECT_EQ(orlosearch_query_client("q", 0, 10, "127.0.0.1", -1), nullptr);
}

TEST(SearchClient, ASilentServerTimesOutAtTheConfiguredLimit)
{
    CTimeLimit limit(1);
    CScriptedServer silent([](int nSocket) {
        CScriptedServer::ReadRequest(nSocket);
        std::string sNothing;
        CScriptedServer::ReadExact(nSocket, sNothing, 1);  // waits for the client to give up
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Ask(silent.Port()), nullptr);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_NE(std::strstr(VESKAR_GetLastErrorMsg(), "timed out (1 s)"), nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_LT(elapsed, std::chrono::seconds(4));
}

TEST(SearchClient, ConcurrentQueriesEachGetTheirOwnAnswer)
{
    CScriptedServer echo([](int nSocket) {
        std::string sRequest = CScriptedServer::ReadRequest(nSocket);
        CScriptedServer::Send(nSocket, Frame("<Query>" + sRequest.substr(16) + "</Query>"));
    });
    std::vector<std::thread> vecThreads;
    std::atomic<int> nWrong{0};
    for (int t = 0; t < 8; ++t) {
        vecThreads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                std::string sQuery = "[field] Safety_Tiaowen [whole] 规范" + std::to_string(t * 100 + i);
                const char* sAnswer = Ask(echo.Port(), sQuery.c_str());
                if (!sAnswer || std::string(sAnswer) != "<Query>" + sQuery + "</Query>")
                    ++nWrong;
            }
        });
    }
    for (auto& thread : vecThreads)
        thread.join();
    EXPECT_EQ(nWrong, 0);
    EXPECT_EQ(orlosearch_query_client_exit(), 0);
}

TEST(SearchClient, AgentConfigurationReadsAddressesAndTimeLimit)
{
    CTempDir dir;
    CSearchAgentConfig config;
    std::string sError;
    EXPECT_FALSE(config.Load(dir.File("SearchAgent.xml"), sError));
    EXPECT_EQ(sError, "Failed reading file " + dir.File("SearchAgent.xml"));
    WriteTestFile(dir.File("SearchAgent.xml"),
                  "<SearchAgent>\n <TiaowenServerIP>127.0.0.1</TiaowenServerIP>\n <TiaowenPort> 8869 </TiaowenPort>\n"
                  " <ArgumentServerIP>10.0.0.2</ArgumentServerIP><ArgumentPort>x</ArgumentPort>\n"
                  " <TimeoutSeconds>0</TimeoutSeconds>\n</SearchAgent>\n");
    ASSERT_TRUE(config.Load(dir.File("SearchAgent.xml"), sError));
    EXPECT_EQ(config.TiaowenServerIP(), "127.0.0.1");
    EXPECT_EQ(config.TiaowenPort(), 8869);
    EXPECT_EQ(config.ArgumentServerIP(), "10.0.0.2");
    EXPECT_EQ(config.ArgumentPort(), -1);
    EXPECT_EQ(config.TimeLimitSeconds(), 30) << "a limit under a second falls back to the default";
    CSearchAgentConfig shipped;
    ASSERT_TRUE(shipped.Load(BuiltDataDir() + "/SearchAgent.xml", sError)) << sError;
    EXPECT_EQ(shipped.TiaowenServerIP(), "127.0.0.1");
    EXPECT_GT(shipped.TiaowenPort(), 0);
    EXPECT_EQ(shipped.TimeLimitSeconds(), 30);
}

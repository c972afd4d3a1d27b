// The search service against a small test catalogue, through the library's
// own client: the title, number and clause-value query forms, start and
// count, refused queries; then raw connections with malformed frames, huge
// or negative lengths, a slow client and a client that goes away, and many
// clients at once.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "RunningServer.h"
#include "SearchClient/QuickLZDecoder.h"
#include "SearchClient/SearchFrame.h"
#include "veskar.h"

namespace {

const char* const kStandards =
    "number\ttitle\tdate\tstatus\treplaced_by\n"
    "GB 50016-2014\t建筑设计防火规范\t2015-05-01\tcurrent\n"
    "GB 50016-2006\t建筑设计防火规范\t2006-12-01\treplaced\tGB 50016-2014\n"
    "GB 50045-95\t高层民用建筑设计防火规范\t\treplaced\tGB 50016-2014\n"
    "GB/T 13861-2022\t生产过程危险和有害因素分类与代码\t\tcurrent\n"
    "AQ 3009-2007\t危险场所电气防爆安全规范\t\tcurrent\n"
    "XX 1-2000\t示例<废止>&标准\t\twithdrawn\n";
const char* const kClauseValues =
    "standard\tclause\trow_name\tcol_name\tvalue\tunit\n"
    "GB 50016-2014\t5.2.2\t高层民用建筑 一、二级\t高层民用建筑 一、二级\t13\tm\n"
    "GB 50016-2014\t5.2.2\t高层民用建筑 一、二级\t裙房和其他民用建筑 三级\t11\tm\n"
    "GB 50016-2014\t5.2.2\t裙房和其他民用建筑 三级\t裙房和其他民用建筑 三级\t8\tm\n"
    "GB 50016-2014\t5.2.21\t甲\t乙\t1\tm\n";

class SearchService : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_pServer = new CRunningServer({kStandards, kClauseValues}, 1); }
    static void TearDownTestSuite()
    {
        delete s_pServer;
        s_pServer = nullptr;
    }
    void SetUp() override { ASSERT_GT(s_pServer->Port(), 0) << s_pServer->Error(); }

    static std::string Ask(const std::string& sQuery, int nStart = 0, int nCount = 10)
    {
        const char* sAnswer = orlosearch_query_client(sQuery.c_str(), nStart, nCount, "127.0.0.1", s_pServer->Port());
        EXPECT_NE(sAnswer, nullptr) << VESKAR_GetLastErrorMsg();
        return sAnswer ? sAnswer : "";
    }

    static CRunningServer* s_pServer;
};

CRunningServer* SearchService::s_pServer = nullptr;

// Sends raw bytes and reads until the server closes (at most 5 s).
std::string RawExchange(int nPort, const std::string& sSend, int nPauseMs = 0)
{
    int nSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string sReceived;
    if (connect(nSocket, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
        send(nSocket, sSend.data(), sSend.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(nPauseMs));
        char buffer[4096];
        pollfd fd{nSocket, POLLIN, 0};
        while (poll(&fd, 1, 5000) > 0) {
            ssize_t n = recv(nSocket, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            sReceived.append(buffer, static_cast<size_t>(n));
        }
    }
    close(nSocket);
    return sReceived;
}

// The text of an answer frame; "" when it is none.
std::string AnswerText(const std::string& sFrame)
{
    if (sFrame.size() < 4 || CSearchFrame::ReadBE32(sFrame.data()) != sFrame.size() - 4)
        return "";
    std::string sText, sError;
    CQuickLZDecoder decoder;
    return decoder.Decompress(sFrame.substr(4), sText, sError) ? sText : "";
}

std::string Length(int32_t n)
{
    std::string s;
    CSearchFrame::PutBE32(s, static_cast<uint32_t>(n));
    return s;
}

}  // namespace

TEST_F(SearchService, TitleQueriesFindEveryEditionNewestFirst)
{
    std::string sAnswer = Ask("[field] Safety_Tiaowen [whole] 建筑设计防火规范");
    EXPECT_EQ(AnswerNumber(sAnswer, "Total-Number"), 3);
    EXPECT_EQ(AnswerNumber(sAnswer, "Return-Number"), 3);
    EXPECT_EQ(AnswerValues(sAnswer, "Safety_Tiaowenhao"),
              (std::vector<std::string>{"GB 50016-2014", "GB 50016-2006", "GB 50045-95"}));
    EXPECT_EQ(AnswerValues(sAnswer, "Memo"), (std::vector<std::string>{"1", "2", "2"}));
    EXPECT_EQ(AnswerValues(sAnswer, "safety_date"), (std::vector<std::string>{"2015-05-01", "2006-12-01", ""}));
    EXPECT_EQ(AnswerValues(sAnswer, "Replaced_By")[1], "GB 50016-2014");
    // Short texts, which the title index cannot see, are still found.
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowen [whole] 防爆"), "Total-Number"), 1);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowen [and] 高层 防火"), "Total-Number"), 1);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowen [whole] 高层 防火"), "Total-Number"), 0);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowen [whole] "), "Total-Number"), 0);
    // Values are escaped, status 3 is a withdrawn standard.
    sAnswer = Ask("[FIELD] safety_tiaowen [WHOLE] 示例<废止>");
    EXPECT_NE(sAnswer.find("<Safety_Tiaowen>示例&lt;废止&gt;&amp;标准</Safety_Tiaowen><safety_date></safety_date>"
                           "<Memo>3</Memo>"),
              std::string::npos)
        << sAnswer;
}

TEST_F(SearchService, NumberQueriesIgnoreSpellingAndAYearlessNumberFindsEveryEdition)
{
    EXPECT_EQ(AnswerValues(Ask("[field] Safety_Tiaowenhao [whole] gb／t13861—2022"), "Safety_Tiaowenhao"),
              (std::vector<std::string>{"GB/T 13861-2022"}));
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowenhao [whole] GB 50016"), "Total-Number"), 2);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowenhao [whole] GB 5001"), "Total-Number"), 0);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowenhao [and] 5001"), "Total-Number"), 2);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowen [whole] 建筑设计防火规范 [field] Safety_Tiaowenhao [whole] "
                               "GB 50016-2006"),
                           "Total-Number"),
              1);
}

TEST_F(SearchService, ClauseQueriesAnswerTheCellsOfTheClausesTable)
{
    std::string sAnswer = Ask("[field] file_name [and] 建筑设计防火规范 [field] section_no [whole] 5.2.2", 0, -1);
    EXPECT_EQ(AnswerNumber(sAnswer, "Return-Number"), 3);
    EXPECT_EQ(AnswerValues(sAnswer, "value"), (std::vector<std::string>{"13", "11", "8"}));
    EXPECT_EQ(AnswerValues(sAnswer, "file_name")[0], "建筑设计防火规范");
    EXPECT_EQ(AnswerValues(sAnswer, "unit")[0], "m");
    // The clause as reports write it, the standard by its number.
    sAnswer = Ask("[field] file_name [and] GB50016-2014 [field] section_no [whole] 第 5.2.2 条", 0, -1);
    EXPECT_EQ(AnswerNumber(sAnswer, "Total-Number"), 3);
    sAnswer = Ask("[field] file_name [and] 建筑设计防火规范 [field] section_no [whole] 5.2.2 [field] row_name "
                  "[whole] 裙房 [field] col_name [whole] 三级", 0, -1);
    EXPECT_EQ(AnswerValues(sAnswer, "value"), (std::vector<std::string>{"8"}));
    EXPECT_EQ(AnswerNumber(Ask("[field] file_name [and] 石油库设计规范 [field] section_no [whole] 5.2.2"),
                           "Total-Number"),
              0);
}

TEST_F(SearchService, StartAndCountPickTheDocumentsButTheTotalCountsAll)
{
    std::string sQuery = "[field] Safety_Tiaowen [whole] 建筑设计防火规范";
    std::string sAnswer = Ask(sQuery, 1, 1);
    EXPECT_EQ(AnswerNumber(sAnswer, "Total-Number"), 3);
    EXPECT_EQ(AnswerValues(sAnswer, "Safety_Tiaowenhao"), (std::vector<std::string>{"GB 50016-2006"}));
    EXPECT_EQ(AnswerNumber(Ask(sQuery, 0, -1), "Return-Number"), 3);
    EXPECT_EQ(AnswerNumber(Ask(sQuery, 0, 0), "Return-Number"), 0);
    EXPECT_EQ(AnswerNumber(Ask(sQuery, 5, 10), "Return-Number"), 0);
    EXPECT_EQ(AnswerNumber(Ask(sQuery, -4, 1), "Return-Number"), 1);
}

TEST_F(SearchService, QueriesOutsideTheLanguageAreRefusedWithAReason)
{
    for (const char* sQuery : {"", "建筑设计防火规范", "[field] Safety_Tiaowen 建筑", "[field] [whole] x",
                               "[field] colour [whole] red"}) {
        std::string sAnswer = Ask(sQuery);
        EXPECT_EQ(AnswerNumber(sAnswer, "Total-Number"), 0) << sQuery;
        EXPECT_EQ(AnswerNumber(sAnswer, "Return-Number"), 0) << sQuery;
        EXPECT_EQ(AnswerValues(sAnswer, "Error").size(), 1u) << sQuery;
    }
}

TEST_F(SearchService, MalformedFramesAreRefusedAndTheServiceGoesOn)
{
    int nPort = s_pServer->Port();
    size_t nRefused = s_pServer->Server().Refused();
    // Lengths below the fixed fields, negative, or far over the limit.
    for (int32_t nLength : {0, 11, -20, 1 << 30}) {
        std::string sText = AnswerText(RawExchange(nPort, Length(nLength) + std::string(12, '\0')));
        EXPECT_NE(sText.find("<Error>request length"), std::string::npos) << nLength << ": " << sText;
    }
    // A query length that disagrees with the frame.
    std::string sBody = Length(0) + Length(10) + Length(50) + "abc";
    std::string sText = AnswerText(RawExchange(nPort, Length(static_cast<int32_t>(sBody.size())) + sBody));
    EXPECT_NE(sText.find("<Error>query length 50"), std::string::npos) << sText;
    EXPECT_EQ(s_pServer->Server().Refused(), nRefused + 5);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowen [whole] 建筑设计防火规范"), "Total-Number"), 3);
}

TEST_F(SearchService, SlowOrVanishingClientsAreDroppedAfterTheirTimeLimit)
{
    int nPort = s_pServer->Port();
    size_t nDropped = s_pServer->Server().Dropped();
    auto start = std::chrono::steady_clock::now();
    // Announces 100 bytes, sends 3, then waits: the 1 s limit ends it.
    EXPECT_EQ(RawExchange(nPort, Length(100) + "abc"), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
    // Sends half a length and hangs up.
    int nSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(connect(nSocket, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    send(nSocket, "\0\0", 2, MSG_NOSIGNAL);
    close(nSocket);
    for (int i = 0; i < 50 && s_pServer->Server().Dropped() < nDropped + 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(s_pServer->Server().Dropped(), nDropped + 2);
    EXPECT_EQ(AnswerNumber(Ask("[field] Safety_Tiaowenhao [whole] AQ 3009-2007"), "Total-Number"), 1);
}

TEST_F(SearchService, ManyClientsAtOnceEachGetTheirAnswer)
{
    std::vector<std::thread> vecThreads;
    std::atomic<int> nWrong{0};
    const char* const kQueries[] = {"[field] Safety_Tiaowen [whole] 建筑设计防火规范",
                                    "[field] Safety_Tiaowenhao [whole] GB/T 13861-2022",
                                    "[field] file_name [and] 建筑设计防火规范 [field] section_no [whole] 5.2.2"};
    const int kTotals[] = {3, 1, 3};
    for (int t = 0; t < 6; ++t) {
        vecThreads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                int q = (t + i) % 3;
                const char* sAnswer = orlosearch_query_client(kQueries[q], 0, -1, "127.0.0.1", s_pServer->Port());
                if (!sAnswer || AnswerNumber(sAnswer, "Total-Number") != kTotals[q])
                    ++nWrong;
            }
        });
    }
    for (auto& thread : vecThreads)
        thread.join();
    EXPECT_EQ(nWrong, 0);
}

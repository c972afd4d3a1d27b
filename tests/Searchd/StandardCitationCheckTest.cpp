// The check of cited standards against the real search service, started
// on a free loopback port over a small catalogue of real editions.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "Global/Globals.h"
#include "RUX/StandardCitationCheck.h"
#include "RUX/StandardSearch.h"
#include "RunningServer.h"
#include "Utility/Log.h"
#include "support/TempDir.h"

namespace {

const char kStandards[] =
    "number\ttitle\tdate\tstatus\treplaced_by\n"
    "GB 50016-2014\t建筑设计防火规范\t2015-05-01\tcurrent\n"
    "GB 50016-2006\t建筑设计防火规范\t2006-12-01\treplaced\tGB 50016-2014\n"
    "GB 50045-95\t高层民用建筑设计防火规范\t\twithdrawn\tGB 50016-2014\n"
    "GB 50057-2010\t建筑物防雷设计规范\t2011-10-01\tcurrent\n"
    "GB 50057-94\t建筑物防雷设计规范\t\treplaced\tGB 50057-2010\n"
    "GB 50116-2013\t火灾自动报警系统设计规范\t2014-05-01\tcurrent\n";

// A failure as "code:org->new@para", the revision after it when not 'U'.
std::string Describe(const _tAuditFailure& failure, const _tKeyVal& place)
{
    std::string s = failure.code + ":" + failure.org_str + "->" + failure.new_str + "@" + std::to_string(place.para_id);
    return failure.revise == 'U' ? s : s + "/" + failure.revise;
}

_tKeyVal Value(const std::string& sText, uint32_t nPara)
{
    return _tKeyVal(0, sText, nPara, 0, "", "");
}

class StandardCitationCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_GT(m_server.Port(), 0) << m_server.Error();
        WriteConfig(m_server.Port());
        ASSERT_TRUE(OpenKnowledgeLog(m_dir.File("KnowGraph.txt")));
    }
    void TearDown() override { CloseKnowledgeLog(); }

    void WriteConfig(int nPort)
    {
        std::string sPort = std::to_string(nPort);
        WriteTestFile(m_dir.File("SearchAgent.xml"),
                      "<SearchAgent><TiaowenServerIP>127.0.0.1</TiaowenServerIP><TiaowenPort>" + sPort +
                          "</TiaowenPort><ArgumentServerIP>127.0.0.1</ArgumentServerIP><ArgumentPort>" + sPort +
                          "</ArgumentPort><TimeoutSeconds>5</TimeoutSeconds></SearchAgent>");
    }

    // The failures a call on a check gives, its result in *pResult.
    std::string Run(const std::function<int(CStandardCitationCheck&)>& call, int* pResult)
    {
        CStandardSearch search(m_dir.Path());
        std::string sOut;
        CStandardCitationCheck check(search, nullptr, [&sOut](_tAuditFailure failure, const _tKeyVal& place) {
            sOut += Describe(failure, place) + ";";
        });
        int nResult = call(check);
        if (pResult)
            *pResult = nResult;
        return sOut;
    }

    // The failures of one citation (name at paragraph 1, number at 2, date at 3).
    std::string Check(const std::string& sName, const std::string& sNumber, const std::string& sDate = "",
                      int* pResult = nullptr)
    {
        _tKeyVal number = Value(sNumber, 2), date = Value(sDate, 3);
        return Run([&](CStandardCitationCheck& check) {
            return check.Check(Value(sName, 1), &number, sDate.empty() ? nullptr : &date);
        }, pResult);
    }

    // The failures of a number cited alone, at paragraph 2.
    std::string CheckNumber(const std::string& sNumber, int* pResult = nullptr)
    {
        return Run([&](CStandardCitationCheck& check) { return check.CheckNumber(Value(sNumber, 2)); }, pResult);
    }

    std::string KnowledgeLog() const { return ReadTestFile(m_dir.File("KnowGraph.txt")); }

    CRunningServer m_server{{kStandards}};
    CTempDir m_dir;
};

}  // namespace

TEST_F(StandardCitationCheckTest, WithdrawnStandardIsDeletedAtItsNumber)
{
    int nResult = 0;
    EXPECT_EQ(Check("《高层民用建筑设计防火规范》", "GB 50045-95", "", &nResult), "2.2:GB 50045-95->@2/D;");
    EXPECT_EQ(nResult, 1);
}

TEST_F(StandardCitationCheckTest, OlderEditionGetsTheNewestNumber)
{
    // An edition the catalogue knows as replaced proposes its successor.
    EXPECT_EQ(Check("建筑物防雷设计规范", "GB 50057-94"), "2.8:GB 50057-94->GB 50057-2010@2;");
    EXPECT_EQ(Check("《建筑设计防火规范》", "GB/T 50016-2006"), "2.8:GB/T 50016-2006->GB 50016-2014@2;");
    // An edition the catalogue does not know at all proposes the newest one.
    EXPECT_EQ(Check("火灾自动报警系统设计规范", "GB 50116-2008"), "2.8:GB 50116-2008->GB 50116-2013@2;");
    // The newest edition of the cited title counts, not that of a title containing it.
    EXPECT_EQ(Check("建筑设计防火规范", "GB 50016-2012"), "2.8:GB 50016-2012->GB 50016-2014@2;");
}

TEST_F(StandardCitationCheckTest, NumberNewerThanAnyKnownOnlyGoesToTheLog)
{
    EXPECT_EQ(Check("火灾自动报警系统设计规范", "GB 50116-2020"), "");
    EXPECT_NE(KnowledgeLog().find("火灾自动报警系统设计规范 should have a new id GB 50116-2013"), std::string::npos);
}

TEST_F(StandardCitationCheckTest, CurrentEditionIsCheckedForItsDate)
{
    EXPECT_EQ(Check("建筑设计防火规范", "GB50016—2014"), "");
    EXPECT_EQ(Check("建筑设计防火规范", "GB 50016-2014", "2015年5月1日"), "");
    EXPECT_EQ(Check("建筑设计防火规范", "GB 50016-2014", "2014年8月27日"), "2.1:2014年8月27日->2015-05-01@3;");
    // A later date than the catalogue's is no finding, only a log line.
    EXPECT_EQ(Check("建筑设计防火规范", "GB 50016-2014", "2016-01-01"), "");
    EXPECT_NE(KnowledgeLog().find("建筑设计防火规范 maybe have new time is 2016-01-01"), std::string::npos);
}

TEST_F(StandardCitationCheckTest, TrialEditionsAndMissingNumbersAreNeverQueried)
{
    size_t nAnswered = m_server.Server().Answered();
    int nResult = 0;
    EXPECT_EQ(Check("安全评价通则", "AQ 8001-2007（试行）", "", &nResult), "");
    EXPECT_EQ(nResult, -3);
    EXPECT_EQ(Check("建筑设计防火规范", "", "", &nResult), "");
    EXPECT_EQ(nResult, -2);
    EXPECT_EQ(m_server.Server().Answered(), nAnswered);
}

TEST_F(StandardCitationCheckTest, UnknownNameIsLoggedAfterBothQueries)
{
    int nResult = 0;
    EXPECT_EQ(Check("《某某企业内部管理规定》", "QB 1-2000", "", &nResult), "");
    EXPECT_EQ(nResult, 26);
    EXPECT_NE(KnowledgeLog().find("《某某企业内部管理规定》 not exists in our big data."), std::string::npos);
}

TEST_F(StandardCitationCheckTest, ServiceDownOrNoConfigurationEndsCleanly)
{
    // A port nobody listens on: the one a stopped service had.
    int nClosed = 0;
    {
        CRunningServer stopped({kStandards});
        nClosed = stopped.Port();
    }
    WriteConfig(nClosed);
    int nResult = 0;
    g_sLastErrorMessage.clear();
    EXPECT_EQ(Check("建筑物防雷设计规范", "GB 50057-94", "", &nResult), "");
    EXPECT_EQ(nResult, -3);
    EXPECT_EQ(g_sLastErrorMessage.rfind("Cannot connect server @127.0.0.1:" + std::to_string(nClosed), 0), 0u)
        << g_sLastErrorMessage;

    std::remove(m_dir.File("SearchAgent.xml").c_str());
    EXPECT_EQ(Check("建筑物防雷设计规范", "GB 50057-94", "", &nResult), "");
    EXPECT_EQ(nResult, -2);
    EXPECT_EQ(g_sLastErrorMessage, "Failed reading file " + m_dir.File("SearchAgent.xml"));
}

TEST_F(StandardCitationCheckTest, ConcurrentChecksEachGetTheirAnswer)
{
    std::vector<std::string> vecResults(4);
    std::vector<std::thread> vecThreads;
    for (size_t t = 0; t < vecResults.size(); ++t)
        vecThreads.emplace_back([this, t, &vecResults] {
            for (int i = 0; i < 10; ++i)
                vecResults[t] += Check(t % 2 ? "建筑物防雷设计规范" : "高层民用建筑设计防火规范",
                                       t % 2 ? "GB 50057-94" : "GB 50045-95");
        });
    for (std::thread& thread : vecThreads)
        thread.join();
    std::string sReplaced, sWithdrawn;
    for (int i = 0; i < 10; ++i) {
        sReplaced += "2.8:GB 50057-94->GB 50057-2010@2;";
        sWithdrawn += "2.2:GB 50045-95->@2/D;";
    }
    for (size_t t = 0; t < vecResults.size(); ++t)
        EXPECT_EQ(vecResults[t], t % 2 ? sReplaced : sWithdrawn);
}

TEST(StandardNumberYear, TheYearAndItsDashAreCutFromTheNumberAsWritten)
{
    EXPECT_EQ(CStandardCitationCheck::WithoutYear("GB 50016-2014"), "GB 50016");
    EXPECT_EQ(CStandardCitationCheck::WithoutYear("GB50016\xE2\x80\x94" "2014"), "GB50016");  // —
    EXPECT_EQ(CStandardCitationCheck::WithoutYear("GB 50016\xEF\xBC\x8D" "2014 "), "GB 50016");  // －
    EXPECT_EQ(CStandardCitationCheck::WithoutYear("GB/T 13861 - 2009"), "GB/T 13861");
    EXPECT_EQ(CStandardCitationCheck::WithoutYear("GB 50045-95"), "GB 50045");
    EXPECT_EQ(CStandardCitationCheck::WithoutYear("GB 13495.1-2015"), "GB 13495.1");
    for (const char* sNoYear : {"GB 50016", "GB 50016-", "2014", "-2014", " - 2014", "GB 50016-201", "GB 500162014", ""})
        EXPECT_EQ(CStandardCitationCheck::WithoutYear(sNoYear), "") << sNoYear;
}

TEST_F(StandardCitationCheckTest, NumbersCitedWithoutANameAreComparedWithTheirCodesEditions)
{
    EXPECT_EQ(CheckNumber("GB 50016-2014"), "");
    EXPECT_EQ(CheckNumber("GB 50045-95"), "2.2:GB 50045-95->@2/D;");
    EXPECT_EQ(CheckNumber("GB50057\xE2\x80\x94" "94"), "2.8:GB50057\xE2\x80\x94" "94->GB 50057-2010@2;");
    // An edition the catalogue does not hold, older than its newest.
    EXPECT_EQ(CheckNumber("GB 50116-98"), "2.8:GB 50116-98->GB 50116-2013@2;");
    // A number without its year names the current edition; unknown codes go to the log.
    int nResult = 0;
    EXPECT_EQ(CheckNumber("GB 50016", &nResult), "");
    EXPECT_EQ(nResult, CStandardCitationCheck::RESULT_NOTHING);
    EXPECT_EQ(CheckNumber("GB 59999-2020", &nResult), "");
    EXPECT_EQ(nResult, CStandardCitationCheck::RESULT_NOT_FOUND);
    EXPECT_NE(KnowledgeLog().find("GB 59999-2020 not exists in our big data."), std::string::npos);
}

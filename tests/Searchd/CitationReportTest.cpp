// Cited standards checked end to end: a safety report through the library,
// its standards and clause values answered by the real search service.
#include <gtest/gtest.h>

#include <json/json.h>

#include <thread>

#include "RunningServer.h"
#include "support/DocxBuilder.h"
#include "support/LibraryFixture.h"
#include "veskar.h"

namespace {

const char kStandards[] =
    "number\ttitle\tdate\tstatus\treplaced_by\n"
    "GB 50016-2014\t建筑设计防火规范\t2015-05-01\tcurrent\n"
    "GB 50016-2006\t建筑设计防火规范\t2006-12-01\treplaced\tGB 50016-2014\n"
    "GB 50045-95\t高层民用建筑设计防火规范\t\twithdrawn\tGB 50016-2014\n"
    "GB 50057-2010\t建筑物防雷设计规范\t2011-10-01\tcurrent\n"
    "GB 50057-94\t建筑物防雷设计规范\t\treplaced\tGB 50057-2010\n"
    "GB 50140-2005\t建筑灭火器配置设计规范\t\tcurrent\n"
    "GB 50974-2014\t消防给水及消火栓系统技术规范\t2014-10-01\tcurrent\n";

const char kClauses[] =
    "standard\tclause\trow_name\tcol_name\tvalue\tunit\n"
    "GB 50016-2014\t5.2.2\t高层民用建筑 一、二级\t高层民用建筑 一、二级\t13\tm\n"
    "GB 50016-2014\t5.2.2\t高层民用建筑 一、二级\t裙房和其他民用建筑 一、二级\t9\tm\n"
    "GB 50016-2014\t5.2.2\t高层民用建筑 一、二级\t裙房和其他民用建筑 三级\t11\tm\n"
    "GB 50016-2014\t5.2.2\t裙房和其他民用建筑 一、二级\t裙房和其他民用建筑 一、二级\t6\tm\n"
    "GB 50016-2014\t5.2.2\t裙房和其他民用建筑 三级\t裙房和其他民用建筑 三级\t8\tm\n";

const char kClause[] =
    "《建筑设计防火规范》GB 50016-2014第5.2.2条：高层民用建筑（一、二级）与裙房和其他民用建筑（一、二级）"
    "的防火间距不应小于%s";

// "code:original->proposal;" of the findings whose code begins with "2.".
std::string CitationFindings(const char* sJson)
{
    Json::Value root;
    if (!sJson || !Json::Reader().parse(sJson, root))
        return "unreadable";
    std::string sOut;
    for (const Json::Value& check : root["Errors"]) {
        std::string sCode = check["errorno"].asString();
        if (sCode.compare(0, 2, "2.") == 0)
            sOut += sCode + ":" + check["OrgStr"].asString() + "->" + check["NewStr"].asString() + ";";
    }
    return sOut;
}

std::string ClauseText(const char* sValue)
{
    char sBuf[512];
    std::snprintf(sBuf, sizeof(sBuf), kClause, sValue);
    return sBuf;
}

class CitationReportTest : public CLibraryTest {
protected:
    void SetUp() override
    {
        CLibraryTest::SetUp();
        ASSERT_GT(m_server.Port(), 0) << m_server.Error();
        PointAt(m_server.Port());
    }

    void PointAt(int nPort)
    {
        std::string sPort = std::to_string(nPort);
        WriteTestFile(m_data.DataFile("SearchAgent.xml"),
                      "<SearchAgent><TiaowenServerIP>127.0.0.1</TiaowenServerIP><TiaowenPort>" + sPort +
                          "</TiaowenPort><ArgumentServerIP>127.0.0.1</ArgumentServerIP><ArgumentPort>" + sPort +
                          "</ArgumentPort><TimeoutSeconds>5</TimeoutSeconds></SearchAgent>");
    }

    std::string ExampleReport(const std::string& sName) const
    {
        std::string sPath = m_docs.File(sName);
        WriteTestFile(sPath, ReadTestFile(std::string(VESKAR_TEST_BUILD_DIR) + "/examples/safety_report.docx"));
        return sPath;
    }

    std::string Check(const std::string& sPath, int nHandle = 0, int nType = 4)
    {
        return CitationFindings(VESKAR_CheckReportF(sPath.c_str(), "", "", nType, 1, false, nHandle));
    }

    CRunningServer m_server{{kStandards, kClauses}};
};

}  // namespace

TEST_F(CitationReportTest, ExampleReportGivesExactlyItsCitationFindings)
{
    EXPECT_EQ(Check(ExampleReport("safety_report.docx")),
              "2.1:2014年8月1日->2015-05-01;"
              "2.2:GB 50045-95->;"
              "2.8:GB 50057-94->GB 50057-2010;"
              "2.10:" + ClauseText("6m") + "->9m;");
}

TEST_F(CitationReportTest, InspectionRowsAgainstTheClauseTable)
{
    // Columns: item, cited clause, required value, measured value, verdict.
    std::vector<std::vector<std::string>> rows = {
        {"检查项目", "检查依据", "标准值", "实测值", "结论"},
        {"办公楼与食堂的防火间距", ClauseText("9m"), "9m", "9m", "符合"},      // equal: nothing
        {"办公楼与门卫的防火间距", ClauseText("9m"), "9m", "8m", "符合"},      // below: 不符合
        {"办公楼与车库的防火间距", ClauseText("9m"), "6m", "12m", "不符合"},   // column wrong; above: 符合
        {"办公楼与泵房的防火间距", "《建筑设计防火规范》GB 50016-2014第5.2.9条：防火间距不应小于6m", "6m", "7m",
         "符合"},  // clause unknown to the catalogue
    };
    std::string sPath = m_docs.File("rows.docx");
    ASSERT_TRUE(CDocxBuilder()
                    .Body(CDocxBuilder::Para("表1 防火间距检查表") + CDocxBuilder::Table(rows) +
                          CDocxBuilder::Para("检查结束。"))
                    .Write(sPath));
    EXPECT_EQ(Check(sPath), "2.12:符合->不符合;"
                            "2.11:6m->9m;2.12:不符合->符合;"
                            "2.9:《建筑设计防火规范》GB 50016-2014第5.2.9条：防火间距不应小于6m->;");
}

// Technical, research and general reports cite standards by number alone.
TEST_F(CitationReportTest, NumbersCitedAloneInOtherReportsAreChecked)
{
    std::string sPath = m_docs.File("technical.docx");
    ASSERT_TRUE(CDocxBuilder()
                    .Body(CDocxBuilder::Para("1 编制依据") +
                          CDocxBuilder::Para("本工程按 GB 50016-2014 和 GB 50045-95 设计。") +
                          CDocxBuilder::Para("防雷设计执行 GB 50057-94 的规定。"))
                    .Write(sPath));
    for (int nType : {1, 2, 5})
        EXPECT_EQ(Check(sPath, 0, nType), "2.2:GB 50045-95->;2.8:GB 50057-94->GB 50057-2010;") << nType;
}

TEST_F(CitationReportTest, ServiceDownGivesNoFindingAndTheCheckCompletes)
{
    int nClosed = 0;
    {
        CRunningServer stopped({kStandards});
        nClosed = stopped.Port();
    }
    PointAt(nClosed);
    EXPECT_EQ(Check(ExampleReport("down.docx")), "");
    std::remove(m_data.DataFile("SearchAgent.xml").c_str());
    EXPECT_EQ(Check(ExampleReport("noconfig.docx")), "");
}

TEST_F(CitationReportTest, ConcurrentChecksOnTwoInstancesAgree)
{
    int nSecond = VESKAR_NewInstance();
    ASSERT_GT(nSecond, 0);
    std::string vecResults[2];
    std::thread first([&] {
        for (int i = 0; i < 3; ++i)
            vecResults[0] += Check(ExampleReport("first" + std::to_string(i) + ".docx"), 0);
    });
    std::thread second([&] {
        for (int i = 0; i < 3; ++i)
            vecResults[1] += Check(ExampleReport("second" + std::to_string(i) + ".docx"), nSecond);
    });
    first.join();
    second.join();
    std::string sOne = Check(ExampleReport("alone.docx"));
    EXPECT_EQ(sOne.empty(), false);
    EXPECT_EQ(vecResults[0], sOne + sOne + sOne);
    EXPECT_EQ(vecResults[1], vecResults[0]);
}

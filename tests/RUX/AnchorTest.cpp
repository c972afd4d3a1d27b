// Values read around a matched word: label values, text between anchors in
// one paragraph and across paragraphs, whole paragraphs, converted lines,
// e-mail addresses and country names.
#include <string>
#include <vector>

#include "AgentFixture.h"
#include "CountryDetect/CountryDetector.h"
#include "support/SwitchGuard.h"

namespace {

using Strings = std::vector<std::string>;

Strings AllValues(const CRUXAgent& agent)
{
    Strings vecOut;
    for (const _tRUX_Result& hit : agent.m_vecRUXResult)
        for (const std::string& s : hit.vecSelected)
            vecOut.push_back(s);
    return vecOut;
}

TEST_F(AgentTest, LabelValuesAfterASeparator)
{
    Compile(Item("U", "{[单位名称]}s{[/n]}{[/n]}", "unit_extract", "label;company;department"));
    Scan("单位名称：甲公司 乙部门");
    EXPECT_EQ(AllValues(*m_pAgent), (Strings{"单位名称", "甲公司", "乙部门"}));
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecTuple[0][2].offset, 25u);  // 单位名称：甲公司 is 24 bytes, then a blank
    // A label run straight into its value has no value.
    Scan("单位名称A公司");
    EXPECT_TRUE(m_pAgent->m_vecRUXResult.empty());
}

TEST_F(AgentTest, TextBetweenAnchors)
{
    Compile(Item("B", "{[自]}{[/t]}{[至;止]}", "between_extract", "start"));
    Scan("自2016年至2019年");
    EXPECT_EQ(AllValues(*m_pAgent), Strings{"2016年"});
    // The earliest end anchor wins, whichever comes first in the rule.
    Scan("自3月止，至5月");
    EXPECT_EQ(AllValues(*m_pAgent), Strings{"3月"});
}

TEST_F(AgentTest, TextBetweenAnchorsRunsIntoFollowingParagraphs)
{
    Compile(Item("B", "{[自]}{[/t]}{[截止]}s", "between_extract", "period;end"));
    m_pAgent->ScanTextMem("自2016年开始\n持续建设\n截止2019年\n", -1);
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecTuple[0][0].key_value, "2016年开始\r\n持续建设\r\n");
    EXPECT_EQ(m_pAgent->m_vecTuple[0][1].key_value, "截止");
    // Without any end anchor there is no value.
    m_pAgent->ScanTextMem("自2016年开始\n持续建设", -1);
    EXPECT_TRUE(m_pAgent->m_vecRUXResult.empty());
}

TEST_F(AgentTest, ParagraphExtractRunsToAClosingMark)
{
    Compile(Item("P", "{[说明如下]}", "paragraphextract", "note"));
    m_pAgent->ScanTextMem("说明如下\n第一项\n第二项。\n其他", -1);
    ASSERT_EQ(m_pAgent->m_vecSingleKeyVal.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal[0].key_value, "说明如下\r\n第一项\r\n第二项。");
}

TEST_F(AgentTest, ConvertGivesALiteralValueWhenTheLineMatches)
{
    Compile(Item("C", "{[甲方]}{[签字]}", "convert", "signed;是"));
    m_pAgent->ScanTextMem("本页由甲方负责人签字\n甲方未到", -1);
    ASSERT_EQ(m_pAgent->m_vecSingleKeyVal.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal[0].key_value, "是");
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal[0].para_id, 0u);
}

TEST_F(AgentTest, EmailAddressesWithTheirNames)
{
    Compile(Item("M", "{[联系人]}", "email_extract", "cn;en;mail;user;domain;direction"));
    Scan("联系人：张三 <zhangsan@abc.com>，李四 &lt;lisi@x.org&gt;");
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 2u);
    const auto& first = m_pAgent->m_vecTuple[0];
    ASSERT_EQ(first.size(), 6u);
    EXPECT_EQ(first[0].key_value, "张三");
    EXPECT_EQ(first[2].key_value, "zhangsan@abc.com");
    EXPECT_EQ(first[3].key_value, "zhangsan");
    EXPECT_EQ(first[4].key_value, "abc.com");
    EXPECT_EQ(m_pAgent->m_vecTuple[1][2].key_value, "lisi@x.org");
}

TEST_F(AgentTest, CountryNamesNeedTheSwitch)
{
    CSwitchGuard countries(g_bCountryDetect, true);
    ASSERT_EQ(CountryDetect_Init(s_pData->Path().c_str()), 1);
    Compile(Item("K", "{[合作]}", "country_extract", "country;country_en;text"));
    Scan("本项目与德国企业合作");
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecTuple[0][0].key_value, "德国");
    EXPECT_EQ(m_pAgent->m_vecTuple[0][1].key_value, "Germany");
    EXPECT_EQ(m_pAgent->m_vecTuple[0][2].key_value, "本项目与德国企业合作");
    g_bCountryDetect = false;
    Scan("本项目与德国企业合作");
    EXPECT_TRUE(m_pAgent->m_vecRUXResult.empty());
    EXPECT_EQ(g_sLastErrorMessage, "RUX-Configure.json must set CountryDetect on before execute country_extract ");
    CountryDetect_Exit();
}

}  // namespace

// Key generation: tuples of nearby keys with their skip lists, repeated
// keys, report-date expansion, single keys, the key look-up by distance,
// and date words of a text.
#include <string>
#include <vector>

#include "AgentFixture.h"

namespace {

class KeyGenTest : public AgentTest {
protected:
    int Key(const char* sName) const { return m_pSet->GetKeyId(sName); }
    void AddValue(const char* sKey, const char* sValue, uint32_t nPara, uint32_t nOffset)
    {
        m_pAgent->m_vecSingleKeyVal.emplace_back(Key(sKey), sValue, nPara, nOffset, "", "x");
    }
    std::string TupleText(size_t i) const
    {
        std::string s;
        for (const _tKeyVal& keyVal : m_pAgent->m_vecTuple.at(i))
            s += m_pAgent->KeyAttribute(keyVal.key_name_id) + "=" + keyVal.key_value + ";";
        return s;
    }
};

TEST_F(KeyGenTest, NearestValueMakesALabelledTupleOnce)
{
    Compile(Item("T1", "{[company]}s+{[amount]}s", "generate_tuple", "tuple_pay") +
            Item("E", "{[公司]}s", "extract", "company;amount"));
    AddValue("company", "甲公司", 1, 0);
    AddValue("amount", "5万元", 1, 30);
    AddValue("amount", "9万元", 1, 300);
    AddValue("company", "甲公司", 1, 40);  // the same tuple again
    m_pAgent->BuildKeyIdMap();
    m_pAgent->GenerateTuple();
    // Each value of either key is a starting point; the second company value
    // repeats the first tuple and adds nothing, the far amount has its own.
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 2u);
    EXPECT_EQ(TupleText(0), "tablename=tuple_pay||rule_no:T1;company=甲公司;amount=5万元;");
    EXPECT_EQ(TupleText(1), "tablename=tuple_pay||rule_no:T1;company=甲公司;amount=9万元;");
}

TEST_F(KeyGenTest, MissingKeyOrNegatedKeyStopsTheRule)
{
    Compile(Item("T1", "{[company]}s+{[amount]}s", "generate_tuple", "x") +
            Item("T2", "{[company]}s+{[-(amount)]}s", "generate_tuple", "y"));
    AddValue("company", "甲公司", 1, 0);
    AddValue("amount", "5万元", 9, 4000);  // too far away
    m_pAgent->BuildKeyIdMap();
    m_pAgent->GenerateTuple();
    // Only the negated rule holds; its tuple has no label ("y" is no tuple label).
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 1u);
    EXPECT_EQ(TupleText(0), "company=甲公司;");
}

TEST_F(KeyGenTest, ContainingRuleSuppressesTheRuleItContains)
{
    Compile(Item("T1", "{[company]}s+{[amount]}s", "generate_tuple", "tuple_a") +
            Item("T2", "{[company]}s+{[amount]}s+{[date]}s", "generate_tuple", "tuple_b"));
    AddValue("company", "甲公司", 1, 0);
    AddValue("amount", "5万元", 1, 10);
    AddValue("date", "2019年", 1, 20);
    m_pAgent->BuildKeyIdMap();
    m_pAgent->GenerateTuple();
    ASSERT_GE(m_pAgent->m_vecTuple.size(), 1u);
    EXPECT_EQ(TupleText(0), "tablename=tuple_b||rule_no:T2;company=甲公司;amount=5万元;date=2019年;");
    // At the company value T2 ran first and skipped T1.
    for (size_t i = 0; i < m_pAgent->m_vecTuple.size(); ++i)
        EXPECT_EQ(TupleText(i).find("tuple_a"), std::string::npos) << TupleText(i);
}

TEST_F(KeyGenTest, RepeatedKeyEmitsOneTuplePerValue)
{
    // Only selected grids are indexed: the rule starts at company values.
    Compile(Item("T1", "{[company]}s+{[amount]3}", "generate_tuple", "tuple_m"));
    AddValue("company", "甲公司", 1, 0);
    for (int i = 0; i < 4; ++i)
        AddValue("amount", (std::to_string(i) + "元").c_str(), 1, 10 + static_cast<uint32_t>(i) * 10);
    m_pAgent->BuildKeyIdMap();
    m_pAgent->GenerateTuple();
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 3u);
    EXPECT_EQ(TupleText(2), "tablename=tuple_m||rule_no:T1;company=甲公司;amount=2元;");
}

TEST_F(KeyGenTest, ReportYearsExpandIntoPrefixes)
{
    Compile(Item("D", "{[start_year]}s+{[to_word]}s+{[end_year]}s", "generate_date", "report_date"));
    AddValue("start_year", "2016", 1, 0);
    AddValue("to_word", "至", 1, 4);
    AddValue("end_year", "2019", 1, 7);
    m_pAgent->BuildKeyIdMap();
    m_pAgent->GenerateTuple();
    std::vector<std::string> vecPrefix;
    for (const _tKeyVal& keyVal : m_pAgent->GetKeyPrefix())
        vecPrefix.push_back(keyVal.key_value);
    EXPECT_EQ(vecPrefix, (std::vector<std::string>{"2016年", "2017年", "2018年", "2019"}));
    // Years that do not increase give nothing.
    m_pAgent->m_vecSingleKeyVal.clear();
    AddValue("start_year", "2019", 1, 0);
    AddValue("to_word", "至", 1, 4);
    AddValue("end_year", "2016", 1, 7);
    m_pAgent->BuildKeyIdMap();
    m_pAgent->GenerateTuple();
    EXPECT_TRUE(m_pAgent->GetKeyPrefix().empty());
    EXPECT_EQ(g_sLastErrorMessage, "2019 or 2016 is invalid this year number");
}

TEST_F(KeyGenTest, SingleKeysCountSumAndMax)
{
    Compile(Item("S1", "{[item]}", "generate_singlekey", "count;item_count") +
            Item("S2", "{[price]}", "generate_singlekey", "sum;price_sum") +
            Item("S3", "{[chapter]}", "generate_singlekey", "max;chapter_max") + Item("E", "{[公司]}s", "extract", "item"));
    AddValue("item", "a", 1, 0);
    AddValue("item", "b", 2, 0);
    AddValue("item", "a", 3, 0);
    AddValue("price", "10", 1, 5);
    AddValue("price", "32", 2, 5);
    AddValue("chapter", "第3章", 1, 9);
    AddValue("chapter", "第12章", 2, 9);
    m_pAgent->ScanRules();
    std::vector<_tKeyVal> vecOut;
    ASSERT_EQ(m_pAgent->GetKeyValue("item_count", vecOut), 1);
    EXPECT_EQ(vecOut[0].key_value, "2");
    ASSERT_EQ(m_pAgent->GetKeyValue("price_sum", vecOut), 1);
    EXPECT_EQ(vecOut[0].key_value, "42");
    ASSERT_EQ(m_pAgent->GetKeyValue("chapter_max", vecOut), 1);
    EXPECT_EQ(vecOut[0].key_value, "12");
    EXPECT_EQ(vecOut[0].rule_used, "S3");
}

TEST_F(KeyGenTest, LookUpByDistanceAndMode)
{
    Compile(Item("E", "{[公司]}s", "extract", "amount"));
    AddValue("amount", "a", 1, 10);
    AddValue("amount", "b", 1, 50);
    AddValue("amount", "c", 1, 5000);
    std::vector<_tKeyVal> vecOut;
    EXPECT_EQ(m_pAgent->GetKeyValue("amount", vecOut), 3);
    EXPECT_EQ(m_pAgent->GetKeyValue("amount", vecOut, 1, 40, 2, false), 2);  // c is too far
    EXPECT_EQ(m_pAgent->GetKeyValue("amount", vecOut, 1, 40, 0, false), 1);  // at or after 40
    EXPECT_EQ(vecOut[0].key_value, "b");
    EXPECT_EQ(m_pAgent->GetKeyValue("amount", vecOut, 1, 40, 1, false), 1);  // at or before 40
    EXPECT_EQ(vecOut[0].key_value, "a");
    EXPECT_EQ(m_pAgent->GetKeyValue("amount", vecOut, 1, 40, 2, true), 1);
    EXPECT_EQ(vecOut[0].key_value, "b");
    EXPECT_EQ(m_pAgent->GetKeyValue("nokey", vecOut), 0);
}

TEST_F(KeyGenTest, DateWordsOfAText)
{
    Compile(Item("E", "{[公司]}s", "extract", "amount"));
    std::vector<std::string> vecDates;
    m_pAgent->ExtractDate("报告期为2019年1月1日至2019年12月31日", vecDates);
    EXPECT_EQ(vecDates, (std::vector<std::string>{"2019年1月1日", "2019年12月31日"}));
    m_pAgent->ExtractDate("甲方签字盖章", vecDates);
    EXPECT_TRUE(vecDates.empty());
}

TEST_F(KeyGenTest, KeyScopedRulesScanTheValuesOfTheirKey)
{
    // Rule 2 reads inside the values of key "company" that rule 1 found.
    Compile(Item("1", "{[单位][：]}{[/ns;/n;/nt]4}s", "extract", "company") +
            Item("2", "{[/ns]}s", "extract", "place", "company"));
    m_pAgent->ScanTextMem("单位：北京华为技术有限公司", -1);
    // The in-memory scan makes no second pass: only the company.
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal.size(), 1u);
    m_pAgent->ScanRules();
    m_pAgent->KeyValConflictRemove();
    std::vector<_tKeyVal> vecOut;
    m_pAgent->BuildKeyIdMap();
    ASSERT_EQ(m_pAgent->GetKeyValue("place", vecOut), 1);
    EXPECT_EQ(vecOut[0].key_value, "北京");
    EXPECT_EQ(vecOut[0].offset, 9u);  // inside the paragraph, after 单位：
}

}  // namespace

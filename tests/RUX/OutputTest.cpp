// What hits become: repeated and duplicate hits, single key values, tuples,
// tables, conflict removal of overlapping values, knowledge-graph records,
// and the files and strings they are written to.
#include <string>
#include <vector>

#include "AgentFixture.h"
#include "Utility/FileUtility.h"
#include "support/TempDir.h"

namespace {

_tRUX_Result Hit(int nRule, const std::vector<std::string>& vecValues, uint32_t nPara = 1, uint32_t nOffset = 0)
{
    _tRUX_Result hit;
    hit.rule_index = nRule;
    hit.rule_no = "R" + std::to_string(nRule);
    hit.action = "extract";
    hit.para_id = nPara;
    hit.offset = nOffset;
    for (size_t i = 0; i < vecValues.size(); ++i)
        hit.AddSelected(vecValues[i], nPara, nOffset + static_cast<uint32_t>(i));
    return hit;
}

class OutputTest : public AgentTest {
protected:
    void SetUp() override
    {
        Compile(Item("1", "{[甲方]}s", "extract", "company|单位名称;amount|金额", "", "company:e,k;amount:a") +
                Item("2", "{[乙方]}s", "tableextract", "a;b;c") + Item("3", "{[丙方]}s", "update", "丙方"));
    }
    int Key(const char* sName) const { return m_pSet->GetKeyId(sName); }
};

TEST_F(OutputTest, RepeatedAndDuplicateHitsAreDropped)
{
    _tRUX_Result a = Hit(0, {"X"}, 1, 5);
    EXPECT_EQ(m_pAgent->AddResult(a), 1);
    _tRUX_Result b = Hit(0, {"X"}, 1, 5);
    EXPECT_EQ(m_pAgent->AddResult(b), -1);  // repeat of the last hit
    _tRUX_Result other = Hit(0, {"Y"}, 2, 0);
    EXPECT_EQ(m_pAgent->AddResult(other), 2);
    // Same rule, paragraph and first value at the same value offset, found
    // from another token: a duplicate of a hit stored earlier.
    _tRUX_Result c = Hit(0, {"X"}, 1, 9);
    c.vecSelectedOffset[0] = 5;
    EXPECT_EQ(m_pAgent->AddResult(c), -3);
    _tRUX_Result d = Hit(0, {"X"}, 1, 9);
    EXPECT_EQ(m_pAgent->AddResult(d), 3);
    // An update whose only value is its own first argument says nothing.
    _tRUX_Result u = Hit(2, {"丙方"});
    u.action = "update";
    u.arguments = {"丙方"};
    EXPECT_EQ(m_pAgent->AddResult(u), -2);
    EXPECT_EQ(m_pAgent->m_vecRUXResult.size(), 3u);
}

TEST_F(OutputTest, ValueCountDecidesSingleKeyTupleOrEmptyTuple)
{
    _tRUX_Result two = Hit(0, {"甲公司", "100万元"});
    m_pAgent->AddResult(two);
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecTuple[0][0].key_name_id, Key("company"));
    EXPECT_EQ(m_pAgent->m_vecTuple[0][1].key_name_id, Key("amount"));
    EXPECT_EQ(m_pAgent->m_vecTuple[0][1].offset, 1u);
    _tRUX_Result one = Hit(0, {"乙公司"}, 3);
    m_pAgent->AddResult(one);
    ASSERT_EQ(m_pAgent->m_vecSingleKeyVal.size(), 1u);
    EXPECT_EQ(m_pAgent->m_vecSingleKeyVal[0].key_value, "乙公司");
    // The rule's first kgset entry is an entity: the value is named.
    ASSERT_EQ(m_pAgent->m_vecKeyValNamedEntity.size(), 2u);
    EXPECT_EQ(m_pAgent->m_vecKeyValNamedEntity[1].key_value, "乙公司");
    _tRUX_Result none = Hit(0, {}, 4);
    m_pAgent->AddResult(none);
    ASSERT_EQ(m_pAgent->m_vecTuple.size(), 2u);
    EXPECT_TRUE(m_pAgent->m_vecTuple[1].empty());
}

TEST_F(OutputTest, TableRuleCutsValuesIntoRows)
{
    _tRUX_Result hit = Hit(1, {"1", "2", "3", "4", "5", "6", "7"});
    hit.action = "tableextract";
    hit.arguments = {"a", "b", "c"};
    m_pAgent->AddResult(hit);
    ASSERT_EQ(m_pAgent->m_vecTable.size(), 1u);
    const auto& table = m_pAgent->m_vecTable[0];
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].size(), 3u);
    EXPECT_EQ(table[1].size(), 3u);
    ASSERT_EQ(table[2].size(), 1u);
    EXPECT_EQ(table[2][0].key_value, "7");
    EXPECT_EQ(table[1][2].org_para_text, "6");  // in a table the value is its own text
    EXPECT_EQ(table[1][2].key_name_id, Key("c"));
}

TEST_F(OutputTest, OverlappingValuesOfOneKeyAreRemoved)
{
    int nKey = Key("company");
    auto& vals = m_pAgent->m_vecSingleKeyVal;
    vals = {_tKeyVal(nKey, "abcd", 1, 12, "", "1"), _tKeyVal(nKey, "abcdef", 1, 10, "", "1")};
    m_pAgent->KeyValConflictRemove();
    ASSERT_EQ(vals.size(), 1u);
    EXPECT_EQ(vals[0].key_value, "abcdef");
    vals = {_tKeyVal(nKey, "abcdefghij", 1, 12, "", "1"), _tKeyVal(nKey, "abcdef", 1, 10, "", "1")};
    m_pAgent->KeyValConflictRemove();
    EXPECT_EQ(vals.size(), 2u);
    // Other keys, or other paragraphs, never conflict.
    vals = {_tKeyVal(nKey, "abcd", 1, 12, "", "1"), _tKeyVal(Key("amount"), "abcdef", 1, 10, "", "1"),
            _tKeyVal(nKey, "abcd", 2, 12, "", "1")};
    m_pAgent->KeyValConflictRemove();
    EXPECT_EQ(vals.size(), 3u);
}

TEST_F(OutputTest, KeyValueFormsAndRoundTrip)
{
    _tKeyVal none(-1, "v", 0x1A, 3, "t", "9");
    std::string sXml = m_pAgent->KeyVal_WriteXML(none);
    EXPECT_NE(sXml.find("<id>-1</id><attribute></attribute><name></name>"), std::string::npos);
    EXPECT_NE(sXml.find("<para_id>0000001A</para_id>"), std::string::npos);
    // Values are escaped, so the reader gets back exactly what was written.
    _tKeyVal tricky(Key("company"), "A&B <公司>", 7, 4, "x<y", "1.2");
    _tKeyVal back;
    ASSERT_NE(m_pAgent->KeyVal_ReadXML(m_pAgent->KeyVal_WriteXML(tricky), 0, back), std::string::npos);
    EXPECT_EQ(back.key_value, tricky.key_value);
    EXPECT_EQ(back.org_para_text, "x<y");
    EXPECT_EQ(back.key_name_id, tricky.key_name_id);
    EXPECT_EQ(back.para_id, 7u);
    Json::Value json = m_pAgent->KeyVal_WriteJson(tricky);
    EXPECT_EQ(json["attribute"].asString(), "company");
    EXPECT_EQ(json["name"].asString(), "单位名称");
    EXPECT_EQ(json["para_id"].asString(), "00000007");
}

TEST_F(OutputTest, FilesAndKnowledgeString)
{
    CTempDir dir;
    m_pAgent->ScanText("说明甲方", 5, 0);
    _tRUX_Result two = Hit(0, {"甲公司", "100万元"});
    m_pAgent->AddResult(two);
    std::string sBase = dir.File("doc");
    m_pAgent->WriteOutputs(sBase, false);
    std::string sKeyVals = ReadTestFile(sBase + "_keyVal.xml");
    EXPECT_EQ(sKeyVals.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<KeyVals>\n", 0), 0u);
    EXPECT_NE(sKeyVals.find("<key_value>甲方</key_value>"), std::string::npos);
    EXPECT_NE(ReadTestFile(sBase + "_tuple.xml").find("<Tuple>\n<Index>1</Index>\n"), std::string::npos);
    EXPECT_NE(ReadTestFile(sBase + "_tuple.txt").find("[单位名称]:甲公司\t[金额]:100万元\t\n"), std::string::npos);
    EXPECT_TRUE(FileExists(sBase + "_table.xml"));
    EXPECT_TRUE(FileExists(sBase + "_argument.xml"));
    EXPECT_TRUE(FileExists(sBase + "_kg.json"));
    EXPECT_FALSE(FileExists(sBase + "_keyVal.json"));
    m_pAgent->WriteOutputs(sBase, true);
    Json::Value keyVals;
    ASSERT_TRUE(Json::Reader().parse(ReadTestFile(sBase + "_keyVal.json"), keyVals));
    EXPECT_EQ(keyVals["KeyVals"][0]["key_value"].asString(), "甲方");
    Json::Value tuples;
    ASSERT_TRUE(Json::Reader().parse(ReadTestFile(sBase + "_tuple.json"), tuples));
    EXPECT_EQ(tuples[0]["Index"].asInt(), 1);
    Json::Value kg;
    ASSERT_TRUE(Json::Reader().parse(m_pAgent->GetKGResult(), kg));
    // The tuple names an entity by its keyword key and gives its attribute.
    bool bEntity = false, bAttribute = false;
    for (const auto& rec : kg["entity_attribute"]) {
        bEntity |= rec["entity"].asString() == "甲公司" && rec["attribute"].asString() == "entity_name";
        bAttribute |= rec["attribute"].asString() == "amount|金额" && rec["val"].asString() == "100万元";
    }
    EXPECT_TRUE(bEntity);
    EXPECT_TRUE(bAttribute);
    Json::Value knowledge;
    ASSERT_TRUE(Json::Reader().parse(m_pAgent->GetKnowledgeJsonStr(), knowledge));
    EXPECT_EQ(knowledge["SingleKey_result"]["KeyVals"].size(), 1u);
    EXPECT_EQ(knowledge["Tuples"].size(), 1u);
    EXPECT_FALSE(knowledge.isMember("Tables"));
}

TEST_F(OutputTest, HitListRecord)
{
    m_pAgent->ScanText("甲方", 0x2B, 0);
    std::string sList = m_pAgent->GetResult("");
    EXPECT_EQ(sList,
              "<RUX_Result>\n\t<rule_index>0</rule_index>\n<rule_no>1</rule_no>\n\t<action>extract</action>\n"
              "\t<credit>0</credit>\n\t<frequency>1</frequency>\n\t<para_id>0000002B</para_id>\n\t<offset>0</offset>\n"
              "\t<selected>\n\t\t<item><para_id>0000002B</para_id><offset>0</offset><value>甲方</value></item>\n"
              "\t</selected>\n\t<arguments>\n\t\t<item>company|单位名称</item>\n\t\t<item>amount|金额</item>\n"
              "\t</arguments>\n\t<org_para_text>甲方\t</org_para_text>\n</RUX_Result>\n");
}

}  // namespace

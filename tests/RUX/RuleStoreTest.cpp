// The compiled rule store: pools and dictionaries, postings with back
// counts, containment and skip lists, the compiled file with its companions
// and export, reload identity, and corrupt files refused without harm.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "Utility/FileUtility.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

std::string Item(const std::string& sNo, const std::string& sRule, const std::string& sAction = "insert",
                 const std::string& sMore = "")
{
    return "<item><no>" + sNo + "</no><rule>" + sRule + "</rule><action>" + sAction + "</action>" + sMore +
           "</item>\n";
}

class RuleStoreTest : public ::testing::Test {
protected:
    void SetUp() override { m_pSet = std::make_unique<CRUX>(m_dir.Path().c_str(), 2); }
    int Import(const std::string& sText) { return m_pSet->ImportRuleFromMem(sText.c_str(), true); }
    const _tRUXIndex& WordSlot(const CRUX& set, const char* sWord) const
    {
        int nId = set.GetDict()->Find(sWord);
        EXPECT_GE(nId, 0) << sWord;
        return set.GetIndex().at(static_cast<size_t>(set.WordSlot(nId)));
    }
    std::vector<int> Skips(const CRUX& set, const _tRUXIndexData& p) const
    {
        return set.GetIntArray().GetValues(p.skiplist);
    }

    CSwitchGuard m_quiet {g_bLog, false};
    CTempDir m_dir;
    std::unique_ptr<CRUX> m_pSet;
};

TEST_F(RuleStoreTest, PoolsGrowAndReportBadIndexes)
{
    CIntArray ints;
    _tIntArray a = ints.Add({1, 2, 3});
    _tIntArray b = ints.Add({});
    EXPECT_EQ(a.start, 0);
    EXPECT_EQ(a.end, 3);
    EXPECT_EQ(b.size(), 0);
    EXPECT_EQ(ints.GetValue(2), 3);
    EXPECT_EQ(ints.GetValue(3), -1);
    EXPECT_EQ(ints.GetValue(-1), -1);
    EXPECT_TRUE(ints.GetValues({2, 9}).empty());
    CStaticStr strings;
    EXPECT_EQ(strings.AddString("ab"), 0);
    EXPECT_EQ(strings.AddString(""), 3);
    EXPECT_EQ(strings.AddString("c"), 4);
    EXPECT_STREQ(strings.GetString(4), "c");
    EXPECT_EQ(strings.GetString(6), nullptr);
    EXPECT_EQ(strings.GetString(-2), nullptr);
}

TEST_F(RuleStoreTest, CompileFillsTheDictionariesAndDefaultKeys)
{
    ASSERT_EQ(Import(Item("1", "{[公司;/nt;公司]+[注册]}", "extract", "<argument>org|单位;5:{年}</argument>") +
                     Item("2", "{[amount|金额]+[sum]}s", "generate_tuple", "<argument>total</argument>")),
              1);
    EXPECT_EQ(m_pSet->GetDict()->GetItemCount(), 3u);  // 公司, /nt, 注册
    EXPECT_EQ(m_pSet->GetKeyId("single_date"), 0);
    EXPECT_EQ(m_pSet->m_nMaxKeyID, 4);
    EXPECT_EQ(m_pSet->GetKeyId("org"), 5);
    EXPECT_EQ(m_pSet->GetKeyId("nosuch"), -1);
    const _tRule& r0 = m_pSet->GetRules()[0];
    std::vector<int> vecElems = m_pSet->GetIntArray().GetValues(r0.knowledge.grids[0].blocks[0].elems);
    EXPECT_EQ(vecElems.size(), 2u);  // the repeated word is kept once
    std::vector<int> vecArgs = m_pSet->GetIntArray().GetValues(r0.arguments_id);
    ASSERT_EQ(vecArgs.size(), 2u);
    EXPECT_EQ(vecArgs[0], ~5);
    EXPECT_EQ(m_pSet->GetArgument(vecArgs[0], true), "org|单位");
    EXPECT_EQ(m_pSet->GetArgument(vecArgs[0], false), "org");
    EXPECT_STREQ(m_pSet->GetStr(vecArgs[1]), "5");
    std::vector<int> vecFormats = m_pSet->GetIntArray().GetValues(r0.RegExs_id);
    EXPECT_EQ(vecFormats[0], -1);
    EXPECT_STREQ(m_pSet->GetStr(vecFormats[1]), "年");
    EXPECT_EQ(m_pSet->GetRuleOrgs()[0].arguments, (std::vector<std::string>{"org|单位", "5:{年}"}));
    // Generate actions hold attributes as complements of their ids.
    const _tRule& r1 = m_pSet->GetRules()[1];
    std::vector<int> vecAttr = m_pSet->GetIntArray().GetValues(r1.knowledge.grids[0].blocks[0].elems);
    ASSERT_EQ(vecAttr.size(), 1u);
    EXPECT_LT(vecAttr[0], 0);
    EXPECT_EQ(m_pSet->GetArgument(vecAttr[0], true), "amount|金额");
    EXPECT_EQ(m_pSet->GetKnowledgeStr(1), "{[amount|金额]+[sum]}s");
    EXPECT_EQ(m_pSet->GetRuleOrgs()[1].arguments, std::vector<std::string>{"total"});
}

TEST_F(RuleStoreTest, ScopesNameTablesOrAttributes)
{
    ASSERT_EQ(Import(Item("1", "{[A]}", "insert", "<field>ColHead</field>") +
                     Item("2", "{[B]}", "insert", "<field>company|公司名称</field>") + Item("3", "{[C]}")),
              1);
    EXPECT_EQ(m_pSet->GetRules()[0].field, 3);
    EXPECT_EQ(m_pSet->GetRules()[1].field, 11 + m_pSet->GetKeyId("company"));
    EXPECT_EQ(m_pSet->GetRules()[2].field, 0);
    EXPECT_EQ(m_pSet->GetRuleOrgs()[1].sField, "company|公司名称");
    EXPECT_EQ(m_pSet->GetRuleOrgs()[2].sField, "text");
}

TEST_F(RuleStoreTest, InvalidAttributeElementsAreLeftOut)
{
    ASSERT_EQ(Import(Item("g1", "{[|bad;amount]}s", "generate_date")), 1);
    EXPECT_EQ(g_sLastErrorMessage, "|bad Is invalid attribute name");
    EXPECT_EQ(m_pSet->GetKnowledgeStr(0), "{[amount]}s");
}

TEST_F(RuleStoreTest, PostingsCarryBackCounts)
{
    ASSERT_EQ(Import(Item("1", "{[A]2+3+[-(N)]+[B;B]0}+2+{[C]}")), 1);
    EXPECT_EQ(WordSlot(*m_pSet, "A").pData[0].back_count, 0);
    // A: repeat 2 + step 3; the negated block counts 1 and is not indexed.
    EXPECT_EQ(WordSlot(*m_pSet, "N").df, 0);
    const _tRUXIndex& b = WordSlot(*m_pSet, "B");
    ASSERT_EQ(b.df, 1);  // a word repeated in one block is indexed once
    EXPECT_EQ(b.pData[0].back_count, 6);
    EXPECT_EQ(b.pData[0].block_index, 2);
    // Optional B counts 1, then the grid step 2.
    const _tRUXIndexData& c = WordSlot(*m_pSet, "C").pData[0];
    EXPECT_EQ(c.back_count, 9);
    EXPECT_EQ(c.grid_index, 1);
    EXPECT_EQ(m_pSet->GetIndexItemCount(), m_pSet->GetDict()->GetItemCount() + 5 + 1);
}

TEST_F(RuleStoreTest, GenerateActionsIndexOnlySelectedGrids)
{
    ASSERT_EQ(Import(Item("1", "{[date]}+3+{[amount]}s+{[sum]}", "generate_tuple")), 1);
    int nAmount = m_pSet->GetKeyId("amount");
    const _tRUXIndex& slot = m_pSet->GetIndex()[static_cast<size_t>(m_pSet->AttributeSlot(nAmount))];
    ASSERT_EQ(slot.df, 1);
    EXPECT_EQ(slot.pData[0].back_count, 3);
    EXPECT_EQ(m_pSet->GetIndex()[static_cast<size_t>(m_pSet->AttributeSlot(m_pSet->GetKeyId("date")))].df, 0);
    EXPECT_EQ(m_pSet->GetIndex()[static_cast<size_t>(m_pSet->AttributeSlot(m_pSet->GetKeyId("sum")))].df, 0);
}

TEST_F(RuleStoreTest, ContainedRulesGetSkipLists)
{
    ASSERT_EQ(Import(Item("1", "{[注册]+[资本]}") + Item("2", "{[公司]+[注册]+[-(x)]+[资本]}s") +
                     Item("3", "{[注册]+[资本]}", "delete", "<field>title</field>") + Item("4", "{[资本]+[注册]}")),
              1);
    EXPECT_TRUE(m_pSet->IsPartOfRule(0, 1));
    EXPECT_FALSE(m_pSet->IsPartOfRule(1, 0));
    EXPECT_FALSE(m_pSet->IsPartOfRule(0, 2));  // other action
    EXPECT_FALSE(m_pSet->IsPartOfRule(3, 1));  // other order
    EXPECT_FALSE(m_pSet->IsPartOfRule(0, 0));

    const _tRUXIndex& slot = WordSlot(*m_pSet, "注册");
    ASSERT_EQ(slot.df, 4);
    // The containing rule moves ahead of the rule it contains.
    EXPECT_EQ(slot.pData[0].knowledge_index, 1);
    EXPECT_EQ(Skips(*m_pSet, slot.pData[0]), std::vector<int>{0});
    EXPECT_EQ(slot.pData[1].knowledge_index, 0);
    EXPECT_TRUE(Skips(*m_pSet, slot.pData[1]).empty());
    EXPECT_EQ(slot.pData[2].knowledge_index, 2);
    EXPECT_EQ(slot.pData[3].knowledge_index, 3);
    const _tRUXIndex& only = WordSlot(*m_pSet, "公司");
    ASSERT_EQ(only.df, 1);
    EXPECT_EQ(Skips(*m_pSet, only.pData[0]), std::vector<int>());
}

TEST_F(RuleStoreTest, SavedSetReloadsToTheSameExport)
{
    ASSERT_EQ(Import(Item("1.1", "{[公司;集团]+[注册资本]}s+2+{[/m]}", "extract",
                          "<name>capital</name><credit>4</credit><argument>capital|注册资本:{万元};3</argument>"
                          "<kgset>capital:a,s,k;org:h</kgset><field>RowHead</field>") +
                     Item("1.2", "{[GB 50016;GB/T 1.1]+[-(年)]2}", "MarkStandard") +
                     Item("2", "{[amount|金额]}s+{[date]}", "generate_date", "<argument>period;2</argument>") +
                     Item("3", "{[出具^]报告]}", "between_extract", "<argument>5:{年};end</argument>")),
              1);
    std::string sExport = ReadTestFile(m_pSet->ExportFile());
    std::string sRule = ReadTestFile(m_pSet->RuleFile());
    ASSERT_FALSE(sExport.empty());
    CRUX reloaded(m_dir.Path().c_str(), 2);
    ASSERT_EQ(reloaded.Load(), 1);
    ASSERT_EQ(reloaded.Export(m_dir.File("again.txt").c_str()), 1);
    EXPECT_EQ(ReadTestFile(m_dir.File("again.txt")), sExport);
    EXPECT_EQ(reloaded.ExportText(), sExport);
    ASSERT_EQ(reloaded.Save(m_dir.File("copy.rule").c_str()), 1);
    EXPECT_EQ(ReadTestFile(m_dir.File("copy.rule")), sRule);
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(CRUX(m_dir.Path().c_str(), 2).GetItem(i), "");  // an unloaded set is empty
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::string(reloaded.GetItem(i)), std::string(m_pSet->GetItem(i)));
    // Importing the export file gives the same set again.
    CRUX fromExport(m_dir.Path().c_str(), 5);
    ASSERT_EQ(fromExport.ImportRule(m_pSet->ExportFile().c_str(), true), 1);
    ASSERT_EQ(fromExport.Export(m_dir.File("third.txt").c_str()), 1);
    EXPECT_EQ(ReadTestFile(m_dir.File("third.txt")), sExport);
}

TEST_F(RuleStoreTest, ExportLayout)
{
    ASSERT_EQ(Import(Item("7", "{[A]+[B]}", "extract", "<name>n</name><argument>k</argument><kgset>k:e</kgset>") +
                     Item("8", "{[k]}s", "generate_tuple")),
              1);
    std::string sExport = ReadTestFile(m_pSet->ExportFile());
    EXPECT_EQ(sExport.find("No.0\t<item>\n<no>7</no>\n<name>n</name>\n<rule>{[A]+[B]}</rule>\n<credit>0</credit>\n"
                           "<action>extract</action>\n<field>text</field>\n<argument>k;</argument>"
                           "<knowledge>{[A]+[B]}</knowledge><kgset>k:entity,</kgset>\n<keyname></keyname></item>\n"),
              0u);
    EXPECT_NE(sExport.find("<kgset></kgset>\n</item>\nIndexing Data are as following:\n"), std::string::npos);
    EXPECT_NE(sExport.find("\nNo.0 word=A: Rules are :\nKnowledge_ID=0\tGrid_ID=0\tBlock_ID=0\tBack_Word_Count=0 "
                           "SkipList()\n"),
              std::string::npos);
    // Word count 2, so attribute k (id 5) has slot 2 + 1 + 5.
    EXPECT_NE(sExport.find("\nNo.8 word=(id=5)k|k: Rules are :\nKnowledge_ID=1\t"), std::string::npos);
}

TEST_F(RuleStoreTest, UserDictionaryIsWrittenBesideTheSet)
{
    ASSERT_EQ(Import(Item("1", "{[GB 50016;/nt]+[公司]}")), 1);
    EXPECT_EQ(ReadTestFile(m_dir.File("rux_userdict.txt")), "[GB 50016]\tRUX\n公司\tRUX\n");
    EXPECT_FALSE(FileExists(GetCurrentDir() + "/rux_userdict.txt"));
    for (const char* sSuffix : {".rule", ".rule.pdat", ".rule.wordlist", ".rule_Attribute.pdat",
                                ".rule_Attribute.wordlist", ".rule_AttriName.wordlist", ".export.txt"})
        EXPECT_TRUE(FileExists(m_dir.File(std::string("RUX_2") + sSuffix))) << sSuffix;
}

TEST_F(RuleStoreTest, EmptySetSavesButDoesNotLoad)
{
    ASSERT_EQ(Import(""), 1);
    CRUX reloaded(m_dir.Path().c_str(), 2);
    EXPECT_EQ(reloaded.Load(), -2);
    EXPECT_EQ(g_sLastErrorMessage, "m_nRuleCount <=0");
    EXPECT_EQ(reloaded.Load(m_dir.File("none.rule").c_str()), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Cannot read file " + m_dir.File("none.rule"));
}

TEST_F(RuleStoreTest, MissingCompanionsAreReported)
{
    ASSERT_EQ(Import(Item("1", "{[A]}")), 1);
    std::string sRule = m_pSet->RuleFile();
    std::rename((sRule + ".wordlist").c_str(), (sRule + ".wl").c_str());
    CRUX reloaded(m_dir.Path().c_str(), 2);
    EXPECT_EQ(reloaded.Load(), -3);
    EXPECT_EQ(g_sLastErrorMessage, "Cannot load file " + sRule + ".wordlist");
    std::remove((sRule + "_AttriName.wordlist").c_str());
    std::rename((sRule + ".wl").c_str(), (sRule + ".wordlist").c_str());
    EXPECT_EQ(reloaded.Load(), -2);
    EXPECT_EQ(g_sLastErrorMessage, "Cannot load file " + sRule + "_AttriName.wordlist");
    EXPECT_EQ(reloaded.GetRuleCount(), 0u);
}

TEST_F(RuleStoreTest, CorruptRuleFilesAreRefusedAndLeaveTheSetAlone)
{
    ASSERT_EQ(Import(Item("1", "{[A;B]+[C]}s+{[D]}", "extract", "<argument>x;7</argument><kgset>x:a,k</kgset>") +
                     Item("2", "{[A]+[C]}") + Item("3", "{[x]}s", "generate_tuple")),
              1);
    std::string sRule = m_pSet->RuleFile();
    const std::string sGood = ReadTestFile(sRule);
    CRUX loaded(m_dir.Path().c_str(), 2);
    ASSERT_EQ(loaded.Load(), 1);
    const std::string sExport = ReadTestFile(m_pSet->ExportFile());
    // Every shorter file, and every single-byte change, loads cleanly or fails.
    for (size_t n = 0; n < sGood.size(); n += 3) {
        ASSERT_TRUE(WriteTestFile(m_dir.File("bad.rule"), sGood.substr(0, n)));
        for (const char* sSuffix : {".pdat", ".wordlist", "_Attribute.pdat", "_Attribute.wordlist",
                                    "_AttriName.wordlist"})
            WriteTestFile(m_dir.File("bad.rule") + sSuffix, ReadTestFile(sRule + sSuffix));
        EXPECT_LT(loaded.Load(m_dir.File("bad.rule").c_str()), 0) << n;
    }
    int nLoaded = 0;
    for (size_t i = 4; i < sGood.size(); ++i) {
        for (unsigned char cValue : {0x00, 0x7f, 0xff}) {
            std::string sBad = sGood;
            sBad[i] = static_cast<char>(cValue);
            WriteTestFile(m_dir.File("bad.rule"), sBad);
            if (loaded.Load(m_dir.File("bad.rule").c_str()) == 1) {
                ++nLoaded;
                loaded.Export(m_dir.File("bad_export.txt").c_str());
                for (int r = 0; r < 3; ++r)
                    loaded.GetKnowledgeStr(r);
            }
        }
    }
    EXPECT_GT(nLoaded, 0);  // flags, credits and back counts may take any value
    // A failed load keeps what was loaded before.
    ASSERT_EQ(loaded.Load(), 1);
    WriteTestFile(m_dir.File("bad.rule"), sGood + "x");
    EXPECT_EQ(loaded.Load(m_dir.File("bad.rule").c_str()), -4);
    EXPECT_EQ(g_sLastErrorMessage, "Corrupt rule set file " + m_dir.File("bad.rule"));
    ASSERT_EQ(loaded.Export(m_dir.File("after.txt").c_str()), 1);
    EXPECT_EQ(ReadTestFile(m_dir.File("after.txt")), sExport);
}

}  // namespace

// The spelling engine on the built data folder: one wrong character, by
// sound or by shape, is found and corrected at its byte offsets; correct
// sentences and text without Chinese give nothing.
#include <gtest/gtest.h>
#include <json/json.h>

#include <memory>

#include "Spelling/SpellSuggester.h"
#include "support/TempDir.h"

namespace {

class SpellSuggesterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_pSuggester = std::make_unique<CSpellSuggester>();
        std::string sError;
        ASSERT_TRUE(s_pSuggester->Load(BuiltDataDir(), sError)) << sError;
    }
    static void TearDownTestSuite() { s_pSuggester.reset(); }

    static std::unique_ptr<CSpellSuggester> s_pSuggester;
};

std::unique_ptr<CSpellSuggester> SpellSuggesterTest::s_pSuggester;

TEST_F(SpellSuggesterTest, OneWrongCharacterIsFoundAndCorrected)
{
    struct {
        const char* sSentence;
        const char* sOrg;
        const char* sRevise;
    } const kCases[] = {
        {"这是一个重要的问提", "提", "题"},          // same reading
        {"我们采用了传感器进行侧量", "侧", "测"},    // same reading
        {"副指导教失：张三", "失", "师"},            // another tone
        {"我己经知道了", "己", "已"},                // look-alike
        {"请大家耐心等侯", "侯", "候"},              // look-alike
    };
    for (const auto& c : kCases) {
        std::string sSentence = c.sSentence;
        std::vector<_tSpellCorrection> vecFound = s_pSuggester->Suggest(sSentence);
        ASSERT_EQ(1u, vecFound.size()) << sSentence;
        EXPECT_EQ(c.sOrg, vecFound[0].sOrg) << sSentence;
        EXPECT_EQ(c.sRevise, vecFound[0].sRevise) << sSentence;
        EXPECT_EQ(sSentence.find(c.sOrg), vecFound[0].nStart) << sSentence;
        EXPECT_EQ(vecFound[0].nStart + 3, vecFound[0].nEnd) << sSentence;
        EXPECT_GE(vecFound[0].fGain, s_pSuggester->Threshold());
    }
}

TEST_F(SpellSuggesterTest, CorrectSentencesAndOtherTextGiveNothing)
{
    for (const char* sSentence :
         {"我们已经完成了实验研究", "这个方法具有较高的准确率", "本文提出了一种新的算法", "请大家耐心等候",
          "快速地发展经济", "他跑得很快", "", "GB 50016-2014 (2018 edition)", "\xff\xfe\xe5\x9c", "中"}) {
        EXPECT_TRUE(s_pSuggester->Suggest(sSentence).empty()) << sSentence;
    }
}

TEST_F(SpellSuggesterTest, OffsetsCountBytesBeforeTheCharacter)
{
    std::string sSentence = "Step 2：这是一个重要的问提。";
    std::vector<_tSpellCorrection> vecFound = s_pSuggester->Suggest(sSentence);
    ASSERT_EQ(1u, vecFound.size());
    EXPECT_EQ(sSentence.find("提"), vecFound[0].nStart);
    EXPECT_EQ("提", sSentence.substr(vecFound[0].nStart, vecFound[0].nEnd - vecFound[0].nStart));
}

TEST_F(SpellSuggesterTest, AThresholdOutOfReachSilencesEveryFinding)
{
    CSpellSuggester strict;
    std::string sError;
    ASSERT_TRUE(strict.Load(BuiltDataDir(), sError));
    strict.SetThreshold(1000.0);
    EXPECT_TRUE(strict.Suggest("这是一个重要的问提").empty());
}

TEST(SpellAnswerTest, AnswerHasTheServiceLayout)
{
    _tSpellCorrection correction;
    correction.sOrg = "提";
    correction.sRevise = "题";
    correction.nStart = 24;
    correction.nEnd = 27;
    Json::Value root;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> pReader(Json::CharReaderBuilder().newCharReader());
    std::string sJson = CSpellSuggester::AnswerJson({correction});
    ASSERT_TRUE(pReader->parse(sJson.data(), sJson.data() + sJson.size(), &root, &sErrors)) << sJson;
    const Json::Value& detail = root["pred_sentences"][0]["detail"];
    ASSERT_EQ(1u, detail.size());
    EXPECT_EQ("提", detail[0]["org"].asString());
    EXPECT_EQ("题", detail[0]["revise"].asString());
    EXPECT_EQ(24, detail[0]["start"].asInt());
    EXPECT_EQ(27, detail[0]["end"].asInt());
    EXPECT_EQ("{\"pred_sentences\":[{\"detail\":[]}]}", CSpellSuggester::AnswerJson({}));
}

TEST(SpellSuggesterLoadTest, MissingSpellingDataFailsWithAReason)
{
    CTempDir dir;
    ASSERT_TRUE(CopyTree(BuiltDataDir() + "/Segmenter", dir.File("Segmenter")));
    CSpellSuggester suggester;
    std::string sError;
    EXPECT_FALSE(suggester.Load(dir.Path(), sError));
    EXPECT_NE(std::string::npos, sError.find("Readings.dat")) << sError;
}

}  // namespace

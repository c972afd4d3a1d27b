// The punctuation and word pass on segmented paragraphs: the neighbour
// rules of each mark, the pairing of brackets and quotation marks, half-width
// marks in Chinese text and where they are left alone, the word rules, the
// offsets, and the spelling runs answered by an in-process provider.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Docx/DocxRecords.h"
#include "Global/Globals.h"
#include "RUX/DateWord.h"
#include "RUX/PunctuationPass.h"
#include "Segmenter/Segmenter.h"
#include "Spelling/SpellingChecker.h"
#include "Utility/QueryExpand.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

class PunctuationPassTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(PELNOR_Init(VESKAR_TEST_BUILD_DIR, 1), 1) << PELNOR_GetLastErrorMsg(); }
    static void TearDownTestSuite() { PELNOR_Exit(); }
    void SetUp() override { m_quiet.emplace(g_bLog, false); }

    // The segmenter's tokens of a text, with their running offsets.
    static std::vector<_tPassToken> Tokens(const std::string& sText)
    {
        std::vector<_tPassToken> vecTokens;
        std::string sOut = PELNOR_ParagraphProcess(sText.c_str(), 1);
        int nOffset = 0;
        size_t nStart = 0;
        while (nStart < sOut.size()) {
            size_t nEnd = sOut.find(' ', nStart);
            std::string sToken = sOut.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
            size_t nSlash = sToken.rfind('/');
            _tPassToken token;
            token.word = nSlash == 0 || nSlash == std::string::npos ? sToken : sToken.substr(0, nSlash);
            token.pos = nSlash == 0 || nSlash == std::string::npos ? "" : sToken.substr(nSlash);
            token.offset = nOffset;
            nOffset += static_cast<int>(token.word.size());
            vecTokens.push_back(token);
            nStart = nEnd == std::string::npos ? sOut.size() : nEnd + 1;
        }
        return vecTokens;
    }
    // "code:found->new@offset;" of every hit ("-" for a deletion's new text).
    static std::string Hits(const std::vector<_tPassToken>& vecTokens, const _tPunctuationSettings& settings)
    {
        std::string sOut;
        for (const _tRUX_Result& hit : CPunctuationPass(vecTokens, 3, settings).Run()) {
            EXPECT_EQ(hit.para_id, 3u);
            std::string sNew = hit.action == "delete" ? "-" : hit.arguments.front();
            sOut += hit.arguments.back() + ":" + hit.vecSelected.front() + "->" + sNew + "@" +
                    std::to_string(hit.offset) + ";";
        }
        return sOut;
    }
    static std::string Punctuation(const std::string& sText, int nLevel = DocLevel::TEXT)
    {
        _tPunctuationSettings settings;
        settings.nLevel = nLevel;
        return Hits(Tokens(sText), settings);
    }
    static std::string Words(const std::string& sText, int nFlag = 0)
    {
        _tPunctuationSettings settings;
        settings.bPunctuation = false;
        settings.bSpelling = true;
        settings.nFlag = nFlag;
        // No spelling service: the runs fail quietly and give nothing.
        return Hits(Tokens(sText), settings);
    }

    std::optional<CSwitchGuard> m_quiet;
};

TEST_F(PunctuationPassTest, MarksNextToWrongNeighbours)
{
    EXPECT_EQ(Punctuation("他来了。，我们走"), "99.3:，->??@12;");
    EXPECT_EQ(Punctuation("他来了，。我们走"), "99.3:，->??@9;");  // the full stop after it is not judged again
    EXPECT_EQ(Punctuation("真的吗？。"), "99.3:。->??@12;");
    EXPECT_EQ(Punctuation("他说：“好。”然后走了。"), "");
    EXPECT_EQ(Punctuation("苹果、香蕉……等等"), "99.3:……->??@15;");
    EXPECT_EQ(Punctuation("苹果、香蕉……"), "");
    EXPECT_EQ(Punctuation("一种方法，即——分治"), "99.3:——->??@18;");
    EXPECT_EQ(Punctuation("从上表可以看出，"), "99.3:，->??@21;");
    EXPECT_EQ(Punctuation("苹果、"), "99.3:、->??@6;");
}

TEST_F(PunctuationPassTest, EnumerationCommaBeforeAConjunctionIsDeleted)
{
    EXPECT_EQ(Punctuation("甲、乙、和丙"), "99.4:、->-@9;");
    EXPECT_EQ(Punctuation("甲、乙及丙、丁或戊"), "");
    EXPECT_EQ(Punctuation("1、和2"), "");  // a numbered item, not a list
}

TEST_F(PunctuationPassTest, TwoQuestionsInARowAreOneChoice)
{
    EXPECT_EQ(Punctuation("你去北京？还是去上海？"), "99.3:？->，@12;");
    EXPECT_EQ(Punctuation("你去北京？我去上海。你呢？"), "");
}

TEST_F(PunctuationPassTest, BracketsAndQuotationMarksPair)
{
    EXPECT_EQ(Punctuation("“他说）"), "99.5:“->??@0;");      // opening the paragraph, and still unpaired
    EXPECT_EQ(Punctuation("他说“你好"), "99.5:“->??@6;");
    EXPECT_EQ(Punctuation("“他说（是的”"), "99.5:（->??@9;");  // the bracket inside the closed quotation
    EXPECT_EQ(Punctuation("见（图1)所示"), "99.5:（->??@3;");  // a closing mark of the other width
    EXPECT_EQ(Punctuation("“（”和“）”的用法"), "");            // marks spoken of
    EXPECT_EQ(Punctuation("【注】见[1]与「甲」《乙》（丙）‘丁’"), "");
    EXPECT_EQ(Punctuation("1）主要内容"), "");                  // list numbering
    EXPECT_EQ(Punctuation("“引文跨越多段"), "");                // continued in the next paragraph
}

TEST_F(PunctuationPassTest, HalfWidthMarksInChineseText)
{
    EXPECT_EQ(Punctuation("表明,该方法有效."), "99.3:,->，@6;99.3:.->。@22;");
    EXPECT_EQ(Punctuation("实验;结果:很好?真的!"), "99.3:;->；@6;99.3::->：@13;99.3:?->？@20;99.3:!->！@27;");
    EXPECT_EQ(Punctuation("实验(如图1所示)表明"), "99.3:(->（@6;99.3:)->）@20;");
    EXPECT_EQ(Punctuation("数据(2019年)表明"), "99.3:(->（@6;99.3:)->）@14;");
}

TEST_F(PunctuationPassTest, HalfWidthMarksLeftAlone)
{
    for (const char* sText : {"共1,000元，约3.14倍", "详见http://www.abc.com/a.html,或联系a@b.com.", "e.g.,例如",
                              "数据.xlsx文件", "设f(x)=1,y=2时", "模型(CNN)效果", "采用*.gz和.py文件",
                              "MATLAB代码TransNum(:,1)=0", "路径π'与A'"}) {
        EXPECT_EQ(Punctuation(sText), "") << sText;
    }
    EXPECT_EQ(Punctuation("张三,李四.机器学习[J].计算机学报,2019,42(3):1-10.", DocLevel::TEXT), "");
    EXPECT_EQ(Punctuation("张三,李四.机器学习.计算机学报,2019,42(3):1-10.", DocLevel::TEXT), "");
    EXPECT_EQ(Punctuation("张三,李四.机器学习.北京大学出版社", DocLevel::REFERENCE_TEXT), "");
    EXPECT_EQ(Punctuation("参考文献:", DocLevel::REFERENCE_CAPTION), "");
    EXPECT_EQ(Punctuation("摘要,英文", DocLevel::ABSTRACT_TEXT_EN), "");
}

TEST_F(PunctuationPassTest, DoubledWords)
{
    EXPECT_EQ(Words("这是的的问题"), "1.5.3:的的->的@6;");
    EXPECT_EQ(Words("我们我们一起"), "1.5.3:我们我们->我们@0;");
    EXPECT_EQ(Words("模型model model很好"), "1.5.3:model model->model@6;");
    EXPECT_EQ(Words("研究研究看看常常人人天天谢谢干干净净说说"), "");
}

TEST_F(PunctuationPassTest, DateWords)
{
    EXPECT_EQ(Words("到2030年实现，2035年远景目标"), "");
    EXPECT_EQ(Words("于2023年13月完成"), "99.1:2023年13月->??@3;");
    EXPECT_EQ(Words("于2月30日完成"), "99.1:2月30日->??@3;");
    EXPECT_EQ(Words("于2023年2月29日完成"), "99.1:2023年2月29日->??@3;");
    EXPECT_EQ(Words("于2024年2月29日12:30完成"), "");
    EXPECT_TRUE(IsPossibleDateWord("2023-05-12"));
    EXPECT_FALSE(IsPossibleDateWord("2023-02-30"));
    EXPECT_FALSE(IsPossibleDateWord("25:10"));
    EXPECT_FALSE(IsPossibleDateWord("20235年"));
    EXPECT_TRUE(IsPossibleDateWord("90年代"));
}

TEST_F(PunctuationPassTest, EnglishWords)
{
    EXPECT_EQ(Words("我们使用了netwrok方法进行实验"), "1.5.5:netwrok->??@15;");
    EXPECT_EQ(Words("我们使用了network方法进行实验"), "");
    EXPECT_EQ(Words("我们使用了Netwrok与CNN方法进行实验"), "");  // names and acronyms
    EXPECT_EQ(Words("我们使用了netwrok方法进行实验", DocLevel::FORMULA_INDEX), "");
    EXPECT_EQ(Words("张三.关于driving behaviours的研究[J].学报,2019"), "");
}

TEST_F(PunctuationPassTest, SpellingErrorList)
{
    CTempDir dir;
    CQueryExpand dict(dir.Path(), "SpellError");
    ASSERT_GT(dict.ImportFromText("再接再励\t再接再厉\n"), 0);
    std::vector<_tPassToken> vecTokens = {{"我们", "/r", 0}, {"要", "/v", 6}, {"再接再励", "/srclist", 9}};
    _tPunctuationSettings settings;
    settings.bSpelling = true;
    settings.pSpellDict = &dict;
    EXPECT_EQ(Hits(vecTokens, settings), "1.5.2:再接再励->再接再厉@9;");
    settings.bSpelling = false;
    EXPECT_EQ(Hits(vecTokens, settings), "");
}

TEST_F(PunctuationPassTest, NothingRunsWithBothSwitchesOff)
{
    _tPunctuationSettings settings;
    settings.bPunctuation = false;
    EXPECT_EQ(Hits(Tokens("他来了。，这是的的问题“"), settings), "");
}

class SpellingRunTest : public PunctuationPassTest {
protected:
    void SetUp() override
    {
        PunctuationPassTest::SetUp();
        m_sHostBefore = g_sSpellingHostIP;
        g_sSpellingHostIP = "local";
    }
    void TearDown() override
    {
        SetLocalSpellingProvider(nullptr);
        g_sSpellingHostIP = m_sHostBefore;
    }
    std::string m_sHostBefore;
};

TEST_F(SpellingRunTest, CorrectionsOfTheServiceBecomeHits)
{
    std::vector<std::string> vecAsked;
    SetLocalSpellingProvider([&](const std::string& sSentence) {
        vecAsked.push_back(sSentence);
        // One correction in the run, one in the word before it (not taken),
        // one the text does not hold (dropped).
        return std::string(R"({"pred_sentences":[{"detail":[)"
                           R"({"org":"计算","revise":"计量","start":0,"end":2},)"
                           R"({"org":"鸡","revise":"机","start":2,"end":3},)"
                           R"({"org":"狗","revise":"够","start":9,"end":10}]}]})");
    });
    EXPECT_EQ(Words("我们使用计算鸡和电脑"), "1.5.1:鸡->机@18;");
    ASSERT_EQ(vecAsked.size(), 1u);
    EXPECT_EQ(vecAsked[0], "计算鸡和电脑");
}

TEST_F(SpellingRunTest, GuessedWordsAreAskedAboutButNamesAreNot)
{
    std::vector<std::string> vecAsked;
    SetLocalSpellingProvider([&](const std::string& sSentence) {
        vecAsked.push_back(sSentence);
        return std::string(R"({"pred_sentences":[{"detail":[{"org":"试","revise":"适","start":3,"end":6}]}]})");
    });
    // The unknown-word model joins 试应 into one guessed word.
    EXPECT_EQ(Words("提高模型对不同条件的试应能力"), "1.5.1:试->适@30;");
    ASSERT_EQ(vecAsked.size(), 1u);
    EXPECT_NE(vecAsked[0].find("试应能力"), std::string::npos);
    vecAsked.clear();
    EXPECT_EQ(Words("昨天刘建峰在会上发言了"), "");
    EXPECT_TRUE(vecAsked.empty());
}

TEST_F(SpellingRunTest, EmptyOrBrokenAnswersGiveNothing)
{
    SetLocalSpellingProvider([](const std::string&) { return std::string(R"({"pred_sentences":[]})"); });
    EXPECT_EQ(Words("我们使用计算鸡和电脑"), "");
    SetLocalSpellingProvider([](const std::string&) { return std::string("<html>busy</html>"); });
    EXPECT_EQ(Words("我们使用计算鸡和电脑"), "");
    SetLocalSpellingProvider(nullptr);
    EXPECT_EQ(Words("我们使用计算鸡和电脑"), "");
}

}  // namespace

// Words the dictionary lacks: names, places and organisations come back
// whole with their tag; dictionary words, user words and Latin or number
// runs are left as they were; the unknown-word model is read from its
// literal tables and its binary file is checked when it is loaded.
#include "SegmenterFixture.h"

#include <atomic>
#include <cstring>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "Segmenter/HmmModel.h"
#include "Segmenter/HmmModelText.h"

namespace {

const char* const kStart = "from __future__ import unicode_literals\n# start\nP={'B': -0.26, 'E': -3.14e+100,\n"
                           " 'M': -3.14e+100, 'S': -1.46}\n";
const char* const kTrans = "P={'B': {'E': -0.51, 'M': -0.92}, 'E': {'B': -0.59, 'S': -0.81},\n"
                           " 'M': {'E': -0.33, 'M': -1.26}, 'S': {'B': -0.72, 'S': -0.67}}";
// Characters written as \u escapes, as they are, and as \U escapes.
const char* const kEmit = "P={'B': {'\\u4e00': -3.65, '中': -5.0},\n 'E': {'\\U00004e00': -6.0},\n"
                          " 'M': {'\\u4e00': -4.4,}, 'S': {'\\u2236': -15.8}}";

std::string BuiltModelBytes()
{
    return ReadTestFile(BuiltDataDir() + "/Segmenter/HmmModel.bin");
}

}  // namespace

TEST_F(SegmenterTest, UnknownNamesComeBackWholeAsNr)
{
    EXPECT_TRUE(HasTokensInOrder(Seg("昨天刘建峰在会上发言。"), {"昨天/t", "刘建峰/nr", "在/p", "会上/t", "发言/v", "。/wj"}));
    EXPECT_EQ(Seg("赵伟说"), "赵伟/nr 说/v");
}

TEST_F(SegmenterTest, UnknownPlacesAndOrganisationsTakeTheirSuffix)
{
    EXPECT_TRUE(HasTokensInOrder(Seg("他住在汉川市。"), {"在/p", "汉川市/ns", "。/wj"}));
    // The suffix is a dictionary word of its own; it joins the guessed name.
    EXPECT_TRUE(HasTokensInOrder(Seg("项目交给赛峰公司承担。"), {"交给/v", "赛峰公司/nt", "承担/v"}));
    EXPECT_TRUE(HasTokensInOrder(Seg("他毕业于杭研大学。"), {"于/p", "杭研大学/nt", "。/wj"}));
    // A dictionary word followed by a suffix stays as it was.
    EXPECT_TRUE(HasTokensInOrder(Seg("交给上海公司"), {"上海/ns", "公司/n"}));
}

TEST_F(SegmenterTest, DictionaryWordsAndCommonCharactersStayApart)
{
    EXPECT_EQ(Seg("中华人民共和国成立了", false), "中华人民共和国 成立 了");
    EXPECT_EQ(Seg("研究生命起源", false), "研究 生命 起源");
    // A user word of one character does not cut the words holding it.
    ASSERT_EQ(PELNOR_AddUserWord("到", "RUX"), 1);
    ASSERT_EQ(PELNOR_AddUserWord("要", "RUX"), 1);
    EXPECT_EQ(Seg("他来到了这里"), "他/r 来到/v 了/ul 这里/r");
    EXPECT_EQ(Seg("主要的需要", false), "主要 的 需要");
    // 他 and 来 are too common to be one unknown word where a user word
    // does cut them apart.
    ASSERT_EQ(PELNOR_AddUserWord("到了", "RUX"), 1);
    EXPECT_EQ(Seg("他来到了这里"), "他/r 来/v 到了/RUX 这里/r");
}

TEST_F(SegmenterTest, SingleCharacterUserWordsAreNeverGluedToAGuess)
{
    for (const char* sWord : {"壹", "拾", "亿", "零", "伍", "仟", "万元", "作", "业"})
        ASSERT_EQ(PELNOR_AddUserWord(sWord, "RUX"), 1);
    EXPECT_EQ(Seg("合同价为壹拾亿零伍仟万元", false), "合同价 为 壹 拾 亿 零 伍 仟 万元");
    EXPECT_EQ(Seg("老师兢兢业业的工作作风", false), "老师 兢兢业业 的 工作作风");
}

TEST_F(SegmenterTest, UserWordsAndLatinOrNumberRunsAreNeverPartOfAGuess)
{
    ASSERT_EQ(PELNOR_AddUserWord("建峰", "RUX"), 1);
    EXPECT_TRUE(HasTokensInOrder(Seg("昨天刘建峰在会上发言"), {"建峰/RUX", "在/p"}));
    std::string sOut = Seg("张3丰和刘A建国");
    EXPECT_TRUE(HasTokensInOrder(sOut, {"3/m", "A/x"}));
    EXPECT_EQ(WithoutBlanks(Seg("张3丰和刘A建国", false)), "张3丰和刘A建国");
}

TEST_F(SegmenterTest, GuessesAreTheSameEveryTimeAndOnEveryThread)
{
    const std::string sText = "昨天刘建峰在会上发言，赵伟说项目交给赛峰公司，地点在汉川市，欧阳建国来了。";
    const std::string sFirst = Seg(sText);
    std::atomic<int> nDifferent{0};
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < 4; ++t) {
        vecThreads.emplace_back([&]() {
            for (int i = 0; i < 50; ++i) {
                std::string sOut = Seg(i % 2 ? "他住在汉川市。" : sText);
                if (i % 2 == 0 && sOut != sFirst)
                    ++nDifferent;
            }
        });
    }
    for (std::thread& thread : vecThreads)
        thread.join();
    EXPECT_EQ(nDifferent.load(), 0);
    EXPECT_EQ(Seg(sText), sFirst);
}

TEST(HmmModel, TablesAreReadFromTheirLiteralText)
{
    _tHmmTables tables;
    std::string sError;
    ASSERT_TRUE(ReadHmmTables(kStart, kTrans, kEmit, tables, sError)) << sError;
    EXPECT_DOUBLE_EQ(tables.mapEmit['B'][0x4E2D], -5.0);
    EXPECT_DOUBLE_EQ(tables.mapEmit['E'][0x4E00], -6.0);
    CHmmModel model;
    ASSERT_TRUE(model.Build(tables, sError)) << sError;
    EXPECT_EQ(model.CharCount(), 3u);

    // Texts that are not literal tables, and tables that are no model.
    EXPECT_FALSE(ReadHmmTables("P={'B': -0.2", kTrans, kEmit, tables, sError));
    EXPECT_NE(sError.find("start"), std::string::npos);
    EXPECT_FALSE(ReadHmmTables(kStart, kTrans, "P={'B': {'\\u4e0': -1.0}}", tables, sError));
    EXPECT_FALSE(ReadHmmTables(kStart, kTrans, "P={'B': {'ab': -1.0}}", tables, sError));
    EXPECT_FALSE(ReadHmmTables(kStart, kTrans, "import os; os.system('x')", tables, sError));
    EXPECT_FALSE(ReadHmmTables("P={'X': -1.0}", kTrans, kEmit, tables, sError));
    EXPECT_FALSE(ReadHmmTables(kStart, kTrans, "P={'B': {'a': {'b': {'c': {'d': {'e': -1}}}}}}", tables, sError));
    ASSERT_TRUE(ReadHmmTables("P={'B': -0.2, 'E': -1.0, 'M': -1.0}", kTrans, kEmit, tables, sError));
    EXPECT_FALSE(model.Build(tables, sError));  // no S
    ASSERT_TRUE(ReadHmmTables(kStart, kTrans, "P={'B': {'a': 0.5}, 'E': {}, 'M': {}, 'S': {}}", tables, sError));
    EXPECT_FALSE(model.Build(tables, sError));  // a probability above one
}

TEST(HmmModel, TruncatedOrCorruptFilesFailCleanly)
{
    const std::string sData = BuiltModelBytes();
    ASSERT_GT(sData.size(), 1000u);
    CHmmModel model;
    ASSERT_TRUE(model.LoadFromBytes(sData));
    EXPECT_GT(model.CharCount(), 5000u);
    for (size_t nLen : {size_t(0), size_t(7), size_t(8), size_t(100), sData.size() / 2, sData.size() - 8, sData.size() - 1}) {
        EXPECT_FALSE(model.LoadFromBytes(sData.substr(0, nLen))) << nLen;
        EXPECT_TRUE(model.IsEmpty());
    }
    EXPECT_FALSE(model.LoadFromBytes(sData + "x"));
    std::string sBad = sData;
    sBad[0] = 'X';
    EXPECT_FALSE(model.LoadFromBytes(sBad));
    // The codes must ascend: the first code written again as the second.
    const size_t nCodes = 8 + 20 * sizeof(double) + 4;
    sBad = sData;
    std::memcpy(&sBad[nCodes + 4], &sData[nCodes], 4);
    EXPECT_FALSE(model.LoadFromBytes(sBad));
    // A value that is no log probability.
    sBad = sData;
    double dNaN = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(&sBad[sBad.size() - sizeof(double)], &dNaN, sizeof(double));
    EXPECT_FALSE(model.LoadFromBytes(sBad));

    std::string sError;
    CTempDir dir;
    EXPECT_FALSE(model.Load(dir.Path(), sError));
    EXPECT_NE(sError.find("HmmModel.bin"), std::string::npos);
}

TEST(SegmenterStart, TruncatedUnknownWordModelStopsTheStart)
{
    CTempDir init;
    ASSERT_TRUE(WriteTestFile(init.Path() + "/Data/Configure.xml", "<Configure><Log>off</Log></Configure>"));
    std::string sDir = init.Path() + "/Data/Segmenter";
    ASSERT_TRUE(CopyTree(BuiltDataDir() + "/Segmenter", sDir));
    ASSERT_TRUE(WriteTestFile(sDir + "/HmmModel.bin", BuiltModelBytes().substr(0, 1000)));
    EXPECT_EQ(PELNOR_Init(init.Path().c_str(), 1), 0);
    EXPECT_NE(std::string(PELNOR_GetLastErrorMsg()).find("HmmModel.bin is truncated or corrupt"), std::string::npos);
    EXPECT_EQ(PELNOR_ParagraphProcess("赵伟说", 1), nullptr);
}

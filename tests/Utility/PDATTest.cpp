// The double-array dictionary: word ids, exact and prefix lookups, white
// space and quotes, the character modes, the layout of the array and term
// frequencies.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "support/DictTestUtil.h"
#include "support/SwitchGuard.h"
#include "Utility/EncodingConverter.h"
#include "Utility/PDAT.h"

namespace {

class PDATTest : public ::testing::Test {
protected:
    CSwitchGuard m_quiet {g_bLog, false};

    static void Build(CPDAT& dict, const std::vector<std::string>& vecWords) { BuildDict(dict, vecWords); }
};

TEST_F(PDATTest, IdsFollowFirstAdditionAndRepeatsDoNotCount)
{
    CPDAT dict;
    dict.AddWordInit();
    EXPECT_EQ(dict.AddWord("abc"), 0);
    EXPECT_EQ(dict.AddWord("abc"), 0);
    EXPECT_EQ(dict.GetItemCount(), 1u);
    EXPECT_EQ(dict.AddWord("ab"), 1);
    EXPECT_EQ(dict.AddWord("ABC"), 0);  // folded to abc in mode 0
    EXPECT_EQ(dict.AddWord("x"), 2);
    EXPECT_EQ(dict.AddWord(""), -1);
    EXPECT_EQ(dict.AddWord(nullptr), -1);
    EXPECT_EQ(dict.FindWord("ab"), 1);
    EXPECT_EQ(dict.FindWord("a"), -1);
    dict.AddWordComplete();
    EXPECT_EQ(dict.GetItemCount(), 3u);
    EXPECT_EQ(dict.Find("abc"), 0);
    EXPECT_EQ(dict.Find("ab"), 1);
    EXPECT_EQ(dict.Find("x"), 2);
    EXPECT_EQ(dict.Find("a"), -1);
    EXPECT_EQ(dict.Find("abcd"), -1);
    EXPECT_EQ(dict.Find(""), -1);
    EXPECT_EQ(dict.AddWord("late"), -1);  // read-only once complete
    EXPECT_EQ(dict.AddWordComplete(), 1);
    EXPECT_EQ(dict.Find("abc"), 0);
}

TEST_F(PDATTest, ExplicitIdsAreKept)
{
    CPDAT dict;
    dict.AddWordInit();
    EXPECT_EQ(dict.AddWord("alpha", 40, false), 40);
    EXPECT_EQ(dict.AddWord("alpha", 7, false), 40);
    EXPECT_EQ(dict.AddWord("beta", -3, false), -1);
    dict.AddWordComplete();
    EXPECT_EQ(dict.Find("alpha"), 40);
    EXPECT_EQ(dict.Find("beta"), -1);
}

TEST_F(PDATTest, PrefixWordsStayWordEnds)
{
    CPDAT dict;
    Build(dict, {"abc", "ab", "b"});
    EXPECT_EQ(dict.Find("ab"), 1);
    EXPECT_EQ(dict.Find("abc"), 0);
    int nHandle = -9;
    bool bSpans = true;
    EXPECT_EQ(dict.GetMaxWord("abcd", &nHandle, &bSpans), 3);
    EXPECT_EQ(nHandle, 0);
    EXPECT_FALSE(bSpans);
    EXPECT_EQ(dict.GetMaxWord("abx", &nHandle, nullptr), 2);
    EXPECT_EQ(nHandle, 1);
    EXPECT_EQ(dict.GetMaxWord("zzz", &nHandle, nullptr), 0);
    EXPECT_EQ(nHandle, -1);
    EXPECT_EQ(dict.GetMaxWord("a", &nHandle, nullptr), 0);

    std::vector<int> vecIds, vecEnds;
    EXPECT_EQ(dict.GetWords("abcd", 4, vecIds, vecEnds), 2);
    EXPECT_EQ(vecIds, (std::vector<int>{1, 0}));
    EXPECT_EQ(vecEnds, (std::vector<int>{2, 3}));
    EXPECT_EQ(dict.GetWords("abcd", 4, vecIds, vecEnds, 2), 1);  // appends only ends past 2
    EXPECT_EQ(vecIds.back(), 0);
    EXPECT_EQ(vecIds.size(), 3u);
}

TEST_F(PDATTest, WhiteSpaceRunsAndQuotesAreFolded)
{
    CPDAT dict;
    Build(dict, {"a b", "ab", "x\ty", "p  q", "\xEF\xBB\xBFsun"});
    EXPECT_EQ(dict.Find("\"ab\""), 1);
    EXPECT_EQ(dict.Find("\""), -1);
    EXPECT_EQ(dict.Find("a  b"), 0);
    EXPECT_EQ(dict.Find("a\tb"), 0);
    EXPECT_EQ(dict.Find("a\r\n b"), 0);
    EXPECT_EQ(dict.Find("\xEF\xBB\xBF" "ab"), 1);
    EXPECT_EQ(dict.Find("sun"), 4);
    // Words holding a tab or a run of spaces are keyed the way text is read.
    EXPECT_EQ(dict.Find("x\ty"), 2);
    EXPECT_EQ(dict.Find("x y"), 2);
    EXPECT_EQ(dict.Find("p q"), 3);
    EXPECT_EQ(dict.Find("p  q"), 3);

    int nHandle = -1;
    bool bSpans = false;
    EXPECT_EQ(dict.GetMaxWord("a \t b!", &nHandle, &bSpans), 5);
    EXPECT_EQ(nHandle, 0);
    EXPECT_TRUE(bSpans);
    EXPECT_EQ(dict.GetMaxWord("ab c", &nHandle, &bSpans), 2);
    EXPECT_FALSE(bSpans);
}

TEST_F(PDATTest, CharacterModesFoldDifferently)
{
    CPDAT gbk(PDAT_MODE_GBK), bytes(PDAT_MODE_BYTE);
    Build(gbk, {"abc", Gbk("中国")});
    Build(bytes, {"abc", Gbk("中国")});
    EXPECT_EQ(gbk.Find("ABC"), 0);
    EXPECT_EQ(bytes.Find("ABC"), -1);
    EXPECT_EQ(bytes.Find("abc"), 0);
    EXPECT_EQ(gbk.Find(Gbk("中国")), 1);
    EXPECT_EQ(bytes.Find(Gbk("中国")), 1);
    EXPECT_EQ(bytes.GetCharsetSize(), 7);
    EXPECT_EQ(gbk.GetCharsetSize(), 5);
    EXPECT_EQ(gbk.GetMode(), PDAT_MODE_GBK);
}

TEST_F(PDATTest, NameModeNormalisesBracketsDigitsLettersAndSeparators)
{
    CPDAT dict(PDAT_MODE_NAME);
    Build(dict, {"GB/T 7714", "(a1)", "\"q\"x", Gbk("标准，") + " _"});
    EXPECT_EQ(dict.Find("gbt7714"), 0);
    EXPECT_EQ(dict.Find("GB T/7714"), 0);
    EXPECT_EQ(dict.Find(Gbk("ＧＢ－Ｔ７７１４")), 0);
    EXPECT_EQ(dict.Find("GB,_/T\t7714"), 0);
    EXPECT_EQ(dict.Find(Gbk("（Ａ１）")), 1);
    EXPECT_EQ(dict.Find(Gbk("【ａ１】")), 1);
    EXPECT_EQ(dict.Find(Gbk("“q”x")), 2);
    EXPECT_EQ(dict.Find(Gbk("标准")), 3);
    EXPECT_EQ(dict.Find(Gbk("标准。、")), 3);
    int nHandle = -1;
    bool bSpans = false;
    EXPECT_EQ(dict.GetMaxWord("GB/T 7714-2015", &nHandle, &bSpans), 9);
    EXPECT_EQ(nHandle, 0);
    EXPECT_TRUE(bSpans);
    EXPECT_EQ(dict.GetMaxWord("/gbt7714", &nHandle, &bSpans), 0);  // no match starts on a separator

    // '_' (5F) can be the second byte of a GBK character: never stripped as a separator.
    CPDAT trail(PDAT_MODE_NAME);
    Build(trail, {"x\x81\x5F", "x\x81"});
    EXPECT_EQ(trail.Find("x\x81\x5F"), 0);
    EXPECT_EQ(trail.Find("x\x81"), 1);
}

TEST_F(PDATTest, FindByCharacterCode)
{
    CPDAT dict;
    std::string sZhong = Gbk("中");
    Build(dict, {"a", sZhong, Gbk("中国")});
    EXPECT_EQ(dict.Find('a'), 0);
    EXPECT_EQ(dict.Find(0xD6D0), 1);
    EXPECT_EQ(dict.Find(0xB9FA), -1);  // only inside a word
    EXPECT_EQ(dict.Find(65536), -1);
    EXPECT_EQ(dict.Find(-1), -1);
    EXPECT_EQ(dict.Find(0x7FFFFFFF), -1);
}

// The most frequent character gets charset id 0, so the one-letter word
// "a" with no longer word after it is a leaf at state 0. A step into state 0
// must be checked like any other, or "aa" would read as "a".
TEST_F(PDATTest, LeafAtStateZeroDoesNotLoop)
{
    CPDAT dict;
    Build(dict, {"a", "ba", "ca", "da"});
    ASSERT_EQ(dict.Find("a"), 0);
    EXPECT_EQ(dict.Find("aa"), -1);
    EXPECT_EQ(dict.Find("aaaa"), -1);
    EXPECT_EQ(dict.Find("ba"), 1);
    EXPECT_EQ(dict.Find("baa"), -1);
    int nHandle = -1;
    bool bSpans = false;
    EXPECT_EQ(dict.GetMaxWord("aaa", &nHandle, &bSpans), 1);
    EXPECT_EQ(dict.MMSegment("aaba", 0, "|"), std::string("a|a|ba|"));
}

TEST_F(PDATTest, EmptyDictionaryFindsNothing)
{
    CPDAT dict;
    Build(dict, {});
    EXPECT_TRUE(dict.IsEmpty());
    EXPECT_EQ(dict.Find("a"), -1);
    EXPECT_EQ(dict.Find('a'), -1);
    CPDAT fresh;
    EXPECT_EQ(fresh.Find("a"), -1);
    EXPECT_EQ(fresh.GetMaxWord("a", nullptr, nullptr), 0);

    CPDAT one;
    Build(one, {"a"});
    EXPECT_FALSE(one.IsEmpty());  // its only state is index 0
    one.SetEmpty();
    EXPECT_TRUE(one.IsEmpty());
    EXPECT_EQ(one.Find("a"), -1);
}

// ---- the layout of the array against the plain first-fit search ----

struct _tRefNode {
    int nCode;
    std::vector<int> vecKids;
    int nHandle = -1;
    int nPos = 0;
};

// The placement written the slow, obvious way: pick the node with the most
// children (first in the list on a tie), try every base from 1 upwards.
class CReferenceLayout {
public:
    explicit CReferenceLayout(const std::vector<std::string>& vecWords)
    {
        m_vecNodes.push_back({-1, {}});
        std::map<int, int> mapFreq;
        for (const std::string& sWord : vecWords) {
            int nCur = 0;
            for (unsigned char c : sWord) {
                ++mapFreq[c];
                int nNext = -1;
                for (int k : m_vecNodes[static_cast<size_t>(nCur)].vecKids)
                    if (m_vecNodes[static_cast<size_t>(k)].nCode == c)
                        nNext = k;
                if (nNext < 0) {
                    nNext = static_cast<int>(m_vecNodes.size());
                    m_vecNodes.push_back({c, {}});
                    m_vecNodes[static_cast<size_t>(nCur)].vecKids.push_back(nNext);
                }
                nCur = nNext;
            }
            if (m_vecNodes[static_cast<size_t>(nCur)].nHandle < 0)
                m_vecNodes[static_cast<size_t>(nCur)].nHandle = m_nCount++;
        }
        std::vector<std::pair<int, int>> vecByFreq;
        for (auto& item : mapFreq)
            vecByFreq.push_back({-item.second, item.first});
        std::sort(vecByFreq.begin(), vecByFreq.end());
        for (size_t i = 0; i < vecByFreq.size(); ++i)
            m_mapCharset[vecByFreq[i].second] = static_cast<int>(i);
        Place();
    }

    std::vector<state> m_vecStates;
    int m_nLowerBound = 0;

private:
    void Grow(int nIndex)
    {
        if (static_cast<size_t>(nIndex) >= m_vecStates.size())
            m_vecStates.resize(static_cast<size_t>(nIndex) + 100, PDAT_FREE_STATE);
        m_nLowerBound = std::max(m_nLowerBound, nIndex);
    }
    bool Free(int nIndex)
    {
        Grow(nIndex);
        return m_vecStates[static_cast<size_t>(nIndex)].base == -1 && m_vecStates[static_cast<size_t>(nIndex)].check == -1;
    }
    void Put(int nNode, int nIndex, int nParent)
    {
        Grow(nIndex);
        _tRefNode& node = m_vecNodes[static_cast<size_t>(nNode)];
        node.nPos = nIndex;
        m_vecStates[static_cast<size_t>(nIndex)].check = nParent;
        if (node.vecKids.empty()) {
            m_vecStates[static_cast<size_t>(nIndex)].base = -nIndex;
            m_vecStates[static_cast<size_t>(nIndex)].handle = node.nHandle;
        }
    }
    void Place()
    {
        m_vecStates.assign(static_cast<size_t>(m_nCount + m_nCount / 2), PDAT_FREE_STATE);
        std::vector<int> vecWork = m_vecNodes[0].vecKids;
        for (int k : vecWork)
            Put(k, m_mapCharset[m_vecNodes[static_cast<size_t>(k)].nCode], -2);
        while (true) {
            vecWork.erase(std::remove_if(vecWork.begin(), vecWork.end(),
                                         [this](int k) { return m_vecNodes[static_cast<size_t>(k)].vecKids.empty(); }),
                          vecWork.end());
            if (vecWork.empty())
                break;
            size_t nPick = 0;
            for (size_t i = 1; i < vecWork.size(); ++i)
                if (m_vecNodes[static_cast<size_t>(vecWork[i])].vecKids.size() >
                    m_vecNodes[static_cast<size_t>(vecWork[nPick])].vecKids.size())
                    nPick = i;
            _tRefNode node = m_vecNodes[static_cast<size_t>(vecWork[nPick])];
            bool bEnd = node.nHandle >= 0;
            int b = 1;
            for (;; ++b) {
                if (bEnd && b == node.nPos)
                    continue;
                bool bFit = true;
                for (int k : node.vecKids)
                    bFit = bFit && Free(b + m_mapCharset[m_vecNodes[static_cast<size_t>(k)].nCode]);
                if (bFit)
                    break;
            }
            m_vecStates[static_cast<size_t>(node.nPos)].base = bEnd ? -b : b;
            if (bEnd)
                m_vecStates[static_cast<size_t>(node.nPos)].handle = node.nHandle;
            for (int k : node.vecKids)
                Put(k, b + m_mapCharset[m_vecNodes[static_cast<size_t>(k)].nCode], node.nPos);
            vecWork[nPick] = node.vecKids[0];
            vecWork.insert(vecWork.end(), node.vecKids.begin() + 1, node.vecKids.end());
        }
    }

    std::vector<_tRefNode> m_vecNodes;
    std::map<int, int> m_mapCharset;
    int m_nCount = 0;
};

TEST_F(PDATTest, LayoutIsTheSmallestFirstFitPlacement)
{
    std::mt19937 rng(7);
    for (int nRound = 0; nRound < 6; ++nRound) {
        std::vector<std::string> vecWords;
        int nAlphabet = 3 + nRound * 4;
        for (int i = 0; i < 150 + nRound * 150; ++i) {
            std::string sWord;
            size_t nLen = 1 + rng() % 6;
            for (size_t k = 0; k < nLen; ++k)
                sWord += static_cast<char>('a' + static_cast<int>(rng() % static_cast<unsigned>(nAlphabet)));
            vecWords.push_back(sWord);
        }
        CPDAT dict(PDAT_MODE_BYTE);
        Build(dict, vecWords);
        CReferenceLayout reference(vecWords);
        ASSERT_EQ(dict.GetLowerBound(), reference.m_nLowerBound) << "round " << nRound;
        std::string sSaved = dict.SaveToBuffer();
        for (int s = 0; s <= reference.m_nLowerBound; ++s) {
            state st {};
            std::memcpy(&st, sSaved.data() + 262152 + 12 * s, sizeof st);
            const state& ref = reference.m_vecStates[static_cast<size_t>(s)];
            ASSERT_TRUE(st.base == ref.base && st.check == ref.check && st.handle == ref.handle)
                << "round " << nRound << " state " << s;
        }
        for (size_t i = 0; i < vecWords.size(); ++i)
            ASSERT_GE(dict.Find(vecWords[i]), 0) << vecWords[i];
    }
}

// ---- term frequencies ----

TEST_F(PDATTest, TermFrequenciesCountAndSkipFilterWords)
{
    CPDAT dict;
    dict.AddWordInit();
    EXPECT_EQ(dict.AddFilterWord("the"), 0);
    EXPECT_EQ(dict.WordFreq({"apple", "pear", "apple", "the", "apple", "pear", "fig"}), 4);
    EXPECT_STREQ(dict.GetTopWords(-1), "apple/3#pear/2#fig/1#");
    EXPECT_STREQ(dict.GetTopWords(1), "apple/3#");
    // The sorted view is a copy: ids keep counting their own words.
    dict.GetTopWordVector();
    dict.AddWord("fig", true);
    EXPECT_EQ(dict.GetTermFreqs()[3].word, "fig");
    EXPECT_EQ(dict.GetTermFreqs()[3].freq, 2);
    // Counting again starts from zero; the filter word stays uncounted.
    EXPECT_EQ(dict.WordFreq({"the", "the", "pear"}), 4);
    EXPECT_STREQ(dict.GetTopWords(-1), "pear/1#");
    EXPECT_EQ(dict.GetTermFreqs()[0].freq, -1);
}

TEST_F(PDATTest, TopWordsLeaveOutLongWordsHoldingEarlierOnes)
{
    CPDAT dict;
    dict.AddWordInit();
    dict.WordFreq({"data", "data", "data", "database", "database", "bases", "bases", "big"});
    // "database" holds the earlier "data" and still uses up a place.
    EXPECT_STREQ(dict.GetTopWords(3), "data/3#bases/2#");
    EXPECT_STREQ(dict.GetTopWords(-1), "data/3#bases/2#big/1#");
}

TEST_F(PDATTest, FilterWordStopsCountingOfLongerWords)
{
    CPDAT dict;
    dict.AddWordInit();
    int nFilter = dict.AddFilterWord("ab");
    EXPECT_EQ(dict.AddWord("abc", true), nFilter);
    EXPECT_EQ(dict.AddWord("abc", false), 1);  // not counting: added as usual
    EXPECT_EQ(dict.AddWord("xy", true), 2);
    EXPECT_EQ(dict.GetTermFreqs()[0].freq, -1);
}

}  // namespace

// The readings and look-alike lists the spelling engine draws candidates
// from: pinyin with tone marks, the Unihan fields, the compact file, and
// the look-alike groups.
#include <gtest/gtest.h>

#include "Spelling/CharReadings.h"
#include "Spelling/ConfusionList.h"
#include "Spelling/SpellCandidates.h"
#include "support/TempDir.h"

namespace {

const char* const kUnihan =
    "# comment\n"
    "U+5728\tkHanyuPinyin\t10418.070:zài\n"
    "U+5728\tkMandarin\tzài\n"
    "U+518D\tkMandarin\tzài\n"
    "U+4ED4\tkHanyuPinyin\t10151.010:zǐ,zǎi 10151.020:zī\n"
    "U+7684\tkHanyuPinyin\t42644.160:dì,dí,de\n"
    "U+7684\tkDefinition\tof\n";

TEST(CharReadingsTest, PinyinTonesFromMarksAndCombiningMarks)
{
    std::string sSyllable;
    int nTone = 0;
    ASSERT_TRUE(CCharReadings::ParsePinyin("zài", sSyllable, nTone));
    EXPECT_EQ("zai", sSyllable);
    EXPECT_EQ(4, nTone);
    ASSERT_TRUE(CCharReadings::ParsePinyin("lǜ", sSyllable, nTone));
    EXPECT_EQ("lv", sSyllable);
    EXPECT_EQ(4, nTone);
    ASSERT_TRUE(CCharReadings::ParsePinyin("de", sSyllable, nTone));
    EXPECT_EQ(5, nTone);
    ASSERT_TRUE(CCharReadings::ParsePinyin("m\xCC\x84", sSyllable, nTone));  // m with a combining macron
    EXPECT_EQ("m", sSyllable);
    EXPECT_EQ(1, nTone);
    EXPECT_FALSE(CCharReadings::ParsePinyin("", sSyllable, nTone));
    EXPECT_FALSE(CCharReadings::ParsePinyin("10418.070", sSyllable, nTone));
}

TEST(CharReadingsTest, UnihanFieldsGiveEveryReadingAndSurviveTheFile)
{
    CCharReadings readings;
    ASSERT_EQ(4, readings.BuildFromUnihan(kUnihan));
    EXPECT_EQ(1u, readings.Readings(U'在').size());
    EXPECT_EQ(3u, readings.Readings(U'仔').size());  // zi3, zai3, zi1 over two groups
    EXPECT_EQ("zai4", readings.ReadingText(readings.Readings(U'再')[0]));
    EXPECT_TRUE(readings.Readings(U'中').empty());
    const std::vector<char32_t>& vecZai4 = readings.CharsWith(readings.Readings(U'在')[0]);
    EXPECT_EQ((std::vector<char32_t>{U'再', U'在'}), vecZai4);

    CTempDir dir;
    std::string sError;
    ASSERT_TRUE(readings.Save(dir.File("Readings.dat"), sError)) << sError;
    CCharReadings loaded;
    ASSERT_TRUE(loaded.Load(dir.File("Readings.dat"), sError)) << sError;
    EXPECT_EQ(readings.CharCount(), loaded.CharCount());
    EXPECT_EQ("de5", loaded.ReadingText(loaded.Readings(U'的')[2]));
    EXPECT_EQ(vecZai4, loaded.CharsWith(loaded.Readings(U'再')[0]));

    std::string sData = ReadTestFile(dir.File("Readings.dat"));
    for (size_t nCut : {size_t(0), size_t(3), sData.size() / 2, sData.size() - 1}) {
        ASSERT_TRUE(WriteTestFile(dir.File("Short.dat"), sData.substr(0, nCut)));
        EXPECT_FALSE(loaded.Load(dir.File("Short.dat"), sError)) << nCut;
        EXPECT_EQ(0u, loaded.CharCount());
    }
    EXPECT_FALSE(loaded.Load(dir.File("Missing.dat"), sError));
}

TEST(ConfusionListTest, GroupsCommentsAndCharactersKeptApart)
{
    CConfusionList list;
    EXPECT_EQ(3, list.Load("# 未 末 is not read here\n己 已 巳\n未末  # written together\n! 的 地 得\nx\n"));
    EXPECT_EQ((std::vector<char32_t>{U'已', U'巳'}), list.LookAlikes(U'己'));
    EXPECT_EQ((std::vector<char32_t>{U'未'}), list.LookAlikes(U'末'));
    EXPECT_TRUE(list.LookAlikes(U'的').empty());
    EXPECT_TRUE(list.KeptApart(U'的', U'地'));
    EXPECT_FALSE(list.KeptApart(U'己', U'已'));
}

TEST(SpellCandidatesTest, SameReadingFirstThenLookAlikesThenOtherTones)
{
    CTempDir dir;
    CCharReadings readings;
    readings.BuildFromUnihan(std::string(kUnihan) + "U+5DF1\tkMandarin\tjǐ\nU+5DF2\tkMandarin\tyǐ\n");
    std::string sError;
    ASSERT_TRUE(WriteTestFile(dir.File("Spelling/Confusion.txt"), "在 仔\n! 在 再\n"));
    ASSERT_TRUE(readings.Save(dir.File("Spelling/Readings.dat"), sError)) << sError;
    CSpellCandidates candidates;
    ASSERT_TRUE(candidates.Load(dir.Path(), sError)) << sError;
    std::vector<_tSpellCandidate> vecFor = candidates.For(U'仔');
    // 仔 reads zi3, zai3 and zi1: nothing else here shares one; 在 looks
    // alike (and is zai4, counted once); 再 is zai4, another tone of zai3.
    ASSERT_EQ(2u, vecFor.size());
    EXPECT_EQ(U'在', vecFor[0].nCode);
    EXPECT_EQ(_tSpellCandidate::LOOK_ALIKE, vecFor[0].eKind);
    EXPECT_EQ(U'再', vecFor[1].nCode);
    EXPECT_EQ(_tSpellCandidate::OTHER_TONE, vecFor[1].eKind);
    // 再 has 在's reading but the two are kept apart: only 仔 (zai3) is left.
    ASSERT_EQ(1u, candidates.For(U'再').size());
    EXPECT_EQ(U'仔', candidates.For(U'再')[0].nCode);
    candidates.SetKnown([](char32_t nCode) { return nCode != U'在'; });
    ASSERT_EQ(1u, candidates.For(U'仔').size());
    EXPECT_EQ(U'再', candidates.For(U'仔')[0].nCode);
}

}  // namespace

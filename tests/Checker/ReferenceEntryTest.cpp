// Reading and judging single reference entries: the finding each kind of
// fault gives, and entries of real lists that must pass.
#include <gtest/gtest.h>

#include <string>

#include "Checker/CheckRecord.h"
#include "Checker/FullWidthTable.h"
#include "Checker/ReferenceDate.h"
#include "Checker/ReferenceEntry.h"

namespace {

const int kToday = 20240615;

// The code an entry gets ("" when it passes).
std::string CodeOf(const std::string& sEntry)
{
    CReferenceEntry entry(kToday);
    entry.Check(sEntry);
    return entry.Code();
}

TEST(ReferenceEntry, FullWidthCharactersAreReportedWithTheHalfWidthText)
{
    CReferenceEntry entry(kToday);
    const std::string sText = "[1] 王明. 论文题名[J]. 某学报, ２０１８, 27(4): 1-5.";
    EXPECT_FALSE(entry.Check(sText));
    EXPECT_EQ(entry.Code(), "14.9");
    EXPECT_EQ(entry.ReviseType(), REVISE_U);
    EXPECT_EQ(entry.FieldId(), FIELD_TEXT);
    EXPECT_EQ(entry.OrgStr(), sText);
    EXPECT_EQ(entry.NewStr(), "[1] 王明. 论文题名[J]. 某学报, 2018, 27(4): 1-5.");
    // Chinese separators and brackets are full-width too.
    EXPECT_EQ(CodeOf("王明．论文题名［J］．某学报，2018，27（4）：1-5。"), "14.9");
    std::string sOut;
    EXPECT_TRUE(CFullWidthTable::ToHalfWidth("王明，李红【J】。", sOut));
    EXPECT_EQ(sOut, "王明,李红[J].");
    // The em dash of standard numbers, curly quotes and the ideographic
    // space are right as they are.
    EXPECT_FALSE(CFullWidthTable::ToHalfWidth("GB/T 7714—2015 “内容、动因”　", sOut));
    // Broken UTF-8 is copied, never read past its end.
    EXPECT_FALSE(CFullWidthTable::ToHalfWidth(std::string("\xEF\xBC", 2), sOut));
    EXPECT_EQ(sOut, std::string("\xEF\xBC", 2));
}

TEST(ReferenceEntry, TypeMarks)
{
    CReferenceEntry entry(kToday);
    EXPECT_FALSE(entry.Check("[1] 王明. 论文题名. 某学报, 2018, 27(4): 1-5."));
    EXPECT_EQ(entry.Code(), "14.1");
    EXPECT_EQ(entry.ReviseType(), REVISE_U);
    EXPECT_EQ(entry.FieldId(), FIELD_FONTSIZE);
    EXPECT_EQ(entry.NewStr(), " lack of referece document type ");
    EXPECT_EQ(CodeOf("[1] 王明. 论文题名[Q]. 北京: 出版社, 2018."), "14.1");
    EXPECT_EQ(CodeOf("[1] 王明. 论文题名[J/XY]. 北京: 出版社, 2018."), "14.1");
    // Every mark of the standard is known, in either case, with a carrier.
    for (const char* sMark : {"M", "C", "G", "N", "J", "D", "R", "S", "P", "DB", "CP", "EB", "A", "CM", "DS", "Z",
                              "m", "eb", "M/MT", "J/DK", "DB/CD", "EB/OL"})
        EXPECT_NE(CReferenceText::TypeOfMark(sMark), REF_NONE) << sMark;
    EXPECT_EQ(CReferenceText::TypeOfMark("DB/OL"), REF_ELECTRONIC);  // not a thesis
    EXPECT_EQ(CReferenceText::TypeOfMark("CP"), REF_ELECTRONIC);     // not a conference
    EXPECT_EQ(CReferenceText::TypeOfMark("S.l."), REF_NONE);
    EXPECT_EQ(CReferenceText::TypeOfMark("2023-05-01"), REF_NONE);
}

TEST(ReferenceEntry, AnAccessDateDoesNotHideTheTypeMark)
{
    CReferenceEntry entry(kToday);
    EXPECT_TRUE(entry.Check("[5] 某部. 关于某事的通知[EB/OL]. (2019-05-24)[2023-05-01]. "
                            "https://www.example.cn/a/201905/t20190524.html."))
        << entry.Code();
    EXPECT_EQ(entry.Type(), REF_ELECTRONIC);
    EXPECT_EQ(entry.Date(), 20190524);
    // "[S.l.]: [s.n.]" and dates in brackets are no marks either.
    EXPECT_EQ(CodeOf("王明. 一本书[M]. [S.l.]: [s.n.], 2010."), "");
}

TEST(ReferenceEntry, LinksAndDoisDoNotBreakTheYear)
{
    EXPECT_EQ(CodeOf("[3] 张明. 一本书[M]. 北京: 科学出版社, 2010: 12-15. DOI: 10.1000/abc.2010.12."), "");
    EXPECT_EQ(CodeOf("[3] 张明. 一篇学位论文[D]. 北京: 某大学, 2019. https://thesis.example.cn/2019/1.pdf"), "");
    EXPECT_EQ(CodeOf("SMITH J. A paper[J]. Nature, 2019, 566(7744): 195-199. https://doi.org/10.1038/x.2019.1"),
              "");
}

TEST(ReferenceEntry, DotsInsideNumbersAndJournalTitlesSplitNothing)
{
    CReferenceEntry entry(kToday);
    EXPECT_TRUE(entry.Check("[8] 某委员会. 文献著录 第4部分: GB/T 3972.4-2009[S]. 北京: 中国标准出版社, 2010."));
    EXPECT_EQ(entry.Type(), REF_STANDARD);
    EXPECT_EQ(entry.Year(), 2010);
    EXPECT_TRUE(entry.Check("NGUYEN T. Sparse coding[J]. J. Comput. Sci., 2014, 29(3): 502-515."));
    EXPECT_EQ(entry.Volume(), 29);
    EXPECT_EQ(entry.Issue(), 3);
    EXPECT_EQ(entry.StartPage(), 502);
    EXPECT_EQ(entry.EndPage(), 515);
    EXPECT_EQ(entry.Year(), 2014);
    EXPECT_EQ(CodeOf("刘军. 一种装置: 201810123456.7[P]. 2018-06-15."), "");
}

TEST(ReferenceEntry, JournalNumbers)
{
    CReferenceEntry entry(kToday);
    // A single page is its own end.
    EXPECT_TRUE(entry.Check("郑雨. 钙钛矿界面[J]. 科学通报, 2021, 66(34): 2063."));
    EXPECT_EQ(entry.StartPage(), 2063);
    EXPECT_EQ(entry.EndPage(), 2063);
    // Without "(" there is no issue, and an issue of 0 is then no error.
    EXPECT_TRUE(entry.Check("SMITH J. Soil moisture[J]. Remote Sens. Environ., 2016, 182: 1-12."));
    EXPECT_EQ(entry.Issue(), 0);
    // A journal that counts issues only: year(issue).
    EXPECT_TRUE(entry.Check("黄明. 农村电商[J]. 农业经济问题, 2022(5): 98-107."));
    EXPECT_EQ(entry.Year(), 2022);
    EXPECT_EQ(entry.Issue(), 5);
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报, 0(4): 1-5."), "14.3");
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报."), "14.3");
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报, 2018, 0(4): 1-5."), "14.5");
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报, 2018, 10001(4): 1-5."), "14.5");
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报, 2018, 27(0): 1-5."), "14.5");
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报, 2018, 27(4)."), "14.6");
    EXPECT_EQ(CodeOf("王明. 题名[J]. 某学报, 2018, 27(4): 15-12."), "14.6");
    EXPECT_TRUE(entry.Check("ROSSI A. Ion channels[J]. PLoS ONE, 2019, 14(5): e0216000."));
    // A year after a full stop is no issue-only journal: the volume 2029
    // is not read as a year to come.
    EXPECT_EQ(CodeOf("ROE S. User behaviour[J]. Transp. Res. Rec. 2007, 2029(1): 31-38."), "14.3");
}

TEST(ReferenceEntry, AuthorYearListsGiveTheYearAfterTheAuthors)
{
    CReferenceEntry entry(kToday);
    EXPECT_TRUE(entry.Check("DOWLER L, 1995. The research university[J]. J. Libr. Adm., 21(1/2): 5-26."));
    EXPECT_EQ(entry.Year(), 1995);
    EXPECT_EQ(entry.Volume(), 21);
    EXPECT_TRUE(entry.Check("王明, 2010a. 一本书[M]. 北京: 科学出版社."));
    EXPECT_EQ(entry.Year(), 2010);
    EXPECT_EQ(CodeOf("DOWLER L, 2099. The research university[J]. J. Libr. Adm., 21(1/2): 5-26."), "14.4");
}

TEST(ReferenceEntry, YearsAndDates)
{
    CReferenceEntry entry(kToday);
    EXPECT_FALSE(entry.Check("王明. 学位论文[D]. 北京: 某大学, 2099."));
    EXPECT_EQ(entry.Code(), "14.4");
    EXPECT_EQ(entry.OrgStr(), "2099");
    EXPECT_EQ(entry.ReviseType(), REVISE_U);
    EXPECT_EQ(entry.FieldId(), FIELD_TEXT);
    EXPECT_EQ(CodeOf("王明. 学位论文[D]. 北京: 某大学, 2024."), "");
    EXPECT_EQ(CodeOf("王明. 学位论文[D]. 北京: 某大学, 1799."), "14.4");
    EXPECT_EQ(CodeOf("王明. 学位论文[D]. 北京: 某大学."), "14.4");
    EXPECT_EQ(CodeOf("王明. 专利[P]. 2019-02-29."), "14.7");
    EXPECT_EQ(CodeOf("王明. 专利[P]. 2020-02-29."), "");
    EXPECT_EQ(CodeOf("王明. 专利[P]. 2020-13-01."), "14.7");
    EXPECT_EQ(CodeOf("王明. 网页[EB/OL]. (2020-01-01)[2023-02-30]."), "14.7");
    // A date to come is accepted; a year to come is not.
    EXPECT_EQ(CodeOf("王明. 专利[P]. 2030-01-01."), "");
    EXPECT_EQ(CodeOf("王明. 网页[EB/OL]. 北京: 某网, 2019."), "");
    // The newspaper form "name, date(page)".
    EXPECT_EQ(CodeOf("王东. 数字经济[N]. 光明日报, 2021-03-15(11)."), "");
    EXPECT_EQ(CodeOf("王东. 数字经济[N]. 光明日报, 2021(11)."), "14.8");

    CReferenceDate date;
    size_t nPos = 0;
    ASSERT_TRUE(date.Find("于2019年3月1日发布", nPos));
    EXPECT_EQ(date.Value(), 20190301);
    nPos = 0;
    EXPECT_FALSE(date.Find("2019-03/01 12019-3-1", nPos));
    EXPECT_TRUE((CReferenceDate{2000, 2, 29}.IsValid(kToday)));
    EXPECT_FALSE((CReferenceDate{1900, 2, 29}.IsValid(kToday)));
    EXPECT_TRUE((CReferenceDate{1850, 1, 1}.IsValid(kToday)));
}

TEST(ReferenceEntry, PartsAndPages)
{
    CReferenceEntry entry(kToday);
    EXPECT_FALSE(entry.Check("[2] 王明. 只有题名[M]."));
    EXPECT_EQ(entry.Code(), "14.2");
    EXPECT_EQ(entry.ReviseType(), REVISE_I);
    EXPECT_EQ(entry.OrgStr(), "");
    EXPECT_EQ(entry.NewStr(), " referece information is incomplete ");
    // Author and title run together.
    EXPECT_EQ(CodeOf("王明, 题名[J]. 某学报, 2018, 27(4): 1-5. 另注."), "14.2");
    // Without an author a numbered entry may start with its title.
    EXPECT_EQ(CodeOf("[8] MC88100 microprocessor user's manual[M]. 2nd ed. Englewood Cliffs: Prentice Hall, 1990."),
              "");
    EXPECT_EQ(CodeOf("张明. 一本书[M]. 北京: 科学出版社, 2010: 15-12."), "14.6");
    EXPECT_EQ(CodeOf("张明. 一本书[M]. 北京: 科学出版社, 2010. 12-15."), "");
    EXPECT_EQ(CodeOf("张明. 一本书[M]. 北京: 科学出版社, 2010. 15-12."), "14.6");
    EXPECT_EQ(CodeOf("CLARKE D. Learning[M]. Berlin: Springer-Verlag, 2019: 101-130."), "");
    // A paper inside proceedings needs its pages; whole proceedings do not.
    EXPECT_EQ(CodeOf("朱天. 论文[C]//某学会. 论文集. 北京: 出版社, 2019."), "14.6");
    EXPECT_EQ(CodeOf("某学会. 会议论文集[C]. 北京: 出版社, 2019."), "");
    // Archives, compilations and others carry a year too.
    EXPECT_EQ(CodeOf("某馆. 档案选编[A]. 北京: 中华书局, 1996."), "");
    EXPECT_EQ(CodeOf("某馆. 档案选编[A]. 北京: 中华书局."), "14.4");
    EXPECT_TRUE(entry.Check("[12] 王明. 书[M]. 2010."));
    EXPECT_TRUE(entry.IsChinese());
    EXPECT_TRUE(entry.Check("12. SMITH J. Book[M]. 2010."));
    EXPECT_FALSE(entry.IsChinese());
}

TEST(ReferenceEntry, TheDrawnListNumberIsNoPartOfTheEntry)
{
    CReferenceEntry entry(kToday);
    EXPECT_TRUE(entry.Check("1.\t王明. 书[M]. 北京: 出版社, 2010.", 3));
    EXPECT_TRUE(entry.Check("[1]\t王明. 书[M]. 北京: 出版社, 2010.", 4));
    EXPECT_EQ(entry.PartCount(), 3u);
    // A count past the text reads nothing and passes no judgement on it.
    EXPECT_FALSE(entry.Check("王明", 100));
    EXPECT_EQ(entry.Code(), "14.1");
}

}  // namespace

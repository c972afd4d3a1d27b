// The reviser's helpers where a slip would misplace a change: blank-blind
// search, paragraph bounds around nested paragraphs and tracked property
// changes, and copied run properties.
#include <gtest/gtest.h>

#include "Reviser/ParagraphAddress.h"
#include "Reviser/ReviseLocator.h"
#include "Reviser/RunProperties.h"
#include "Reviser/WindowedRevision.h"
#include "Utility/StrLocate.h"

TEST(ReviseHelpers, SearchIgnoresBlanksOnlyWhenItMust)
{
    std::vector<_tStrHit> vecHits = StrLocateAll("第 一章 第一章", "第一章");
    ASSERT_EQ(vecHits.size(), 1u);  // the exact hit wins
    EXPECT_EQ(vecHits[0].nStart, std::string("第 一章 ").size());
    vecHits = StrLocateAll("见 表\t1 与表1", "见表 1");
    ASSERT_EQ(vecHits.size(), 1u);
    EXPECT_EQ(vecHits[0].nStart, 0u);
    EXPECT_EQ(vecHits[0].nEnd, std::string("见 表\t1").size());
    EXPECT_TRUE(StrLocateAll("a b", "  ").empty());
    EXPECT_EQ(StrLocateAll("a  b", "  ").size(), 1u);
}

TEST(ReviseHelpers, OffsetsCountTextWithoutBlanksAcrossPieces)
{
    std::string sDoc = "<w:p><w:r><w:t>a b XY</w:t></w:r><w:r><w:tab/><w:t xml:space=\"preserve\">Z c XYZ</w:t></w:r>"
                       "<w:r><w:rPr><w:vertAlign w:val=\"subscript\"/></w:rPr><w:t>2</w:t></w:r></w:p>";
    std::vector<_tSegInfo> vecSegs = CReviseLocator::GetTextSegments(sDoc, 0, sDoc.size(), false);
    ASSERT_EQ(vecSegs.size(), 3u);
    EXPECT_EQ(vecSegs[2].text, "<subscript>2</subscript>");
    // "XYZ" at counted offset 2 runs over two pieces; the one at 5 sits in the second.
    _tReviseLocation first = CReviseLocator::GetReviseLocation(vecSegs, 2, "XYZ", false);
    ASSERT_EQ(first.ranges.size(), 2u);
    EXPECT_EQ(sDoc.substr(first.ranges[0].begin, 2), "XY");
    EXPECT_EQ(sDoc.substr(first.ranges[1].begin, 1), "Z");
    _tReviseLocation second = CReviseLocator::GetReviseLocation(vecSegs, 6, "XYZ<subscript>2</subscript>", false);
    ASSERT_EQ(second.ranges.size(), 2u);
    EXPECT_EQ(sDoc.substr(second.ranges[0].begin, second.ranges[0].end - second.ranges[0].begin), "XYZ");
    EXPECT_EQ(sDoc.substr(second.ranges[1].begin, second.ranges[1].end - second.ranges[1].begin), "2");
    EXPECT_FALSE(CReviseLocator::GetReviseLocation(vecSegs, 0, "XZ", false).found);
}

TEST(ReviseHelpers, ParagraphBoundsSkipNestedParagraphsAndChangeRecords)
{
    std::string sDoc = "<w:body><w:p w:rsidR=\"1\"><w:pPr><w:pPrChange w:id=\"3\"><w:pPr><w:jc w:val=\"left\"/></w:pPr>"
                       "</w:pPrChange></w:pPr><w:r><w:pict><w:txbxContent><w:p><w:r><w:t>框</w:t></w:r></w:p>"
                       "</w:txbxContent></w:pict></w:r><w:r><w:t>外</w:t></w:r></w:p><w:p/></w:body>";
    size_t nOuter = sDoc.find("<w:p ");
    EXPECT_EQ(CParagraphAddress::DocStart(sDoc, static_cast<uint32_t>(nOuter + 3)), nOuter);
    size_t nInner = sDoc.find("<w:p>");
    EXPECT_EQ(CParagraphAddress::DocStart(sDoc, static_cast<uint32_t>(nInner)), nInner);
    EXPECT_EQ(CParagraphAddress::DocStart(sDoc, static_cast<uint32_t>(nOuter + 4)), CParagraphAddress::NPOS);
    EXPECT_EQ(CParagraphAddress::DocEnd(sDoc, nOuter), sDoc.find("</w:p>"));
    EXPECT_EQ(CParagraphAddress::DocOwnEnd(sDoc, nOuter), sDoc.find("</w:p><w:p/>"));
    EXPECT_EQ(CParagraphAddress::DocContentStart(sDoc, nOuter), sDoc.find("<w:r><w:pict>"));
    EXPECT_EQ(CParagraphAddress::DocOwnEnd(sDoc, sDoc.find("<w:p/>")), sDoc.find("/></w:body>"));
    EXPECT_EQ(CParagraphAddress::FirstBodyParagraph(sDoc), nOuter);
}

TEST(ReviseHelpers, CopiedRunPropertiesLeaveChangeRecordsBehind)
{
    std::string sDoc = "<w:r w:rsidR=\"9\"><w:rPr><w:b/><w:rPrChange w:id=\"5\"><w:rPr><w:i/></w:rPr></w:rPrChange>"
                       "</w:rPr><w:t>x</w:t></w:r>";
    EXPECT_EQ(CRunProperties::Of(sDoc, 0, sDoc.size()), "<w:rPr><w:b/></w:rPr>");
    EXPECT_EQ(CRunProperties::StartTag(sDoc, 0), "<w:r w:rsidR=\"9\">");
    EXPECT_EQ(CRunProperties::Of("<w:r><w:rPr/><w:t>x</w:t></w:r>", 0, 30), "");
    EXPECT_EQ(CRunProperties::WithAlign("<w:rPr><w:vertAlign w:val=\"subscript\"/><w:lang w:val=\"x\"/></w:rPr>", ""),
              "<w:rPr><w:lang w:val=\"x\"/></w:rPr>");
    EXPECT_EQ(CRunProperties::WithElement("<w:rPr><w:b/><w:u w:val=\"single\"/></w:rPr>", "w:sz", "<w:sz w:val=\"28\"/>"),
              "<w:rPr><w:b/><w:sz w:val=\"28\"/><w:u w:val=\"single\"/></w:rPr>");
}

TEST(ReviseHelpers, WindowsOfNestedParagraphsAreJoinedOnce)
{
    std::string sDoc = "<w:body><w:p><w:r><w:t>甲</w:t></w:r></w:p>"
                       "<w:p><w:r><w:pict><w:txbxContent><w:p><w:r><w:t>框一</w:t></w:r></w:p></w:txbxContent>"
                       "<w:txbxContent><w:p><w:r><w:t>框二</w:t></w:r></w:p></w:txbxContent></w:pict></w:r>"
                       "<w:r><w:t>外</w:t></w:r></w:p><w:p><w:r><w:t>乙</w:t></w:r></w:p></w:body>";
    auto idOf = [&](const char* sText, bool bNested) {
        size_t nPos = sDoc.rfind(bNested ? "<w:p>" : "<w:p><w:r><w:pict>", sDoc.find(sText));
        return static_cast<uint32_t>(bNested ? nPos : nPos + 3);
    };
    std::vector<uint32_t> vecIds = {idOf("乙", true) + 3, idOf("框二", true), idOf("框一", true), idOf("外", false),
                                    idOf("甲", true) + 3, 7};
    CWindowedRevision windows(sDoc);
    size_t nApplied = 0;
    for (uint32_t nId : vecIds) {
        _tCheckResult finding;
        finding.para_id = nId;
        nApplied += windows.Apply(finding, [&](std::string& sWindow, const _tCheckResult& relative) {
            size_t nStart = CParagraphAddress::DocStart(sWindow, relative.para_id);
            sWindow.insert(sWindow.find("<w:t>", nStart) + 5, "*");
        });
    }
    windows.Finish();
    EXPECT_EQ(nApplied, 5u);  // id 7 names no paragraph
    EXPECT_EQ(sDoc, "<w:body><w:p><w:r><w:t>*甲</w:t></w:r></w:p>"
                    "<w:p><w:r><w:pict><w:txbxContent><w:p><w:r><w:t>**框一</w:t></w:r></w:p></w:txbxContent>"
                    "<w:txbxContent><w:p><w:r><w:t>*框二</w:t></w:r></w:p></w:txbxContent></w:pict></w:r>"
                    "<w:r><w:t>外</w:t></w:r></w:p><w:p><w:r><w:t>*乙</w:t></w:r></w:p></w:body>");
}

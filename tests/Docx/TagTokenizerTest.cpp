// The tag walk and the one-pass paragraph reader: what each tag gives, how
// ranges cut it, and that a paragraph read in one pass carries exactly what
// the per-property searches read from it.
#include <gtest/gtest.h>

#include <random>

#include "Docx/BodyScanner.h"
#include "Docx/DocxParser.h"
#include "Docx/ParagraphTagReader.h"
#include "Docx/StyleReader.h"
#include "Docx/TagTokenizer.h"
#include "Docx/XmlScan.h"

namespace {

// "name" for an opening tag, "/name" for an end, "name/" for an empty one,
// and "name~" for a tag cut before its '>'.
std::string Walk(std::string_view sText, size_t nFrom = 0, size_t nEnd = XML_NPOS)
{
    CTagTokenizer tokenizer(sText, nFrom, nEnd);
    _tTag tag;
    std::string sOut;
    while (tokenizer.Next(tag)) {
        sOut += sOut.empty() ? "" : " ";
        sOut += (tag.bClosing ? "/" : "") + std::string(tag.sName) + (tag.bSelfClosing ? "/" : "") +
                (tag.bComplete ? "" : "~");
    }
    return sOut;
}

_tTag FirstTag(std::string_view sText)
{
    CTagTokenizer tokenizer(sText, 0, sText.size());
    _tTag tag;
    EXPECT_TRUE(tokenizer.Next(tag));
    return tag;
}

// The paragraph reading the scanner did before the one-pass reader: one
// bounded search per property and per run (pictures aside). The reader
// must give the same paragraph for any text. (Fonts go through the style
// sheet and have tests of their own.)
void SearchParagraph(std::string_view sText, size_t nStart, size_t nEnd, _tParagraph& para)
{
    para.reset();
    para.text.clear();
    std::string sValue;
    if (GetXMLPropertyValue(sText, nStart, "w:line", sValue, nEnd) != XML_NPOS)
        para.line_space = std::atoi(sValue.c_str());
    if (GetXMLPropertyValue(sText, nStart, "w:numId w:val", sValue, nEnd) != XML_NPOS)
        para.numPtr = std::atoi(sValue.c_str());
    if (GetXMLPropertyValue(sText, nStart, "w:outlineLvl w:val", sValue, nEnd) != XML_NPOS)
        para.level = CStyleReader::OutlineLevel(sValue);
    size_t nPos = nStart;
    for (;;) {
        size_t nW = FindElement(sText, "<w:r", nPos, nEnd);
        size_t nM = FindElement(sText, "<m:r", nPos, nEnd);
        bool bMath = nM != XML_NPOS && (nW == XML_NPOS || nM < nW);
        size_t nRun = bMath ? nM : nW;
        if (nRun == XML_NPOS)
            break;
        size_t nRunEnd = FindIn(sText, bMath ? "</m:r>" : "</w:r>", nRun, nEnd);
        size_t nLimit = nRunEnd == XML_NPOS ? nEnd : nRunEnd;
        if (FindIn(sText, "PAGEREF", nRun, nLimit) != XML_NPOS) {
            para.text += " . ";
            if (para.level == 0)
                para.level = DocLevel::CONTENT1;
        }
        if (FindIn(sText, "<w:tab/>", nRun, nLimit) != XML_NPOS)
            para.text += '\t';
        std::string sAlign;
        GetXMLPropertyValue(sText, nRun, "w:vertAlign w:val", sAlign, nLimit);
        size_t nText = FindElement(sText, bMath ? "<m:t" : "<w:t", nRun, nLimit);
        size_t nOpenEnd = nText == XML_NPOS ? XML_NPOS : FindIn(sText, ">", nText, nLimit);
        size_t nClose = nOpenEnd == XML_NPOS ? XML_NPOS : FindIn(sText, bMath ? "</m:t>" : "</w:t>", nOpenEnd, nLimit);
        if (nClose != XML_NPOS && nClose > nOpenEnd + 1) {
            // Without styles a run's size is its own w:sz; the last one stated counts.
            if (GetXMLPropertyValue(sText, nRun, "w:sz w:val", sValue, nLimit) != XML_NPOS &&
                std::atoi(sValue.c_str()) > 0)
                para.font_size = std::atoi(sValue.c_str());
            std::string sRunText(sText.substr(nOpenEnd + 1, nClose - nOpenEnd - 1));
            para.text += sAlign.empty() ? sRunText : "<" + sAlign + ">" + sRunText + "</" + sAlign + ">";
        }
        if (nRunEnd == XML_NPOS)
            break;
        nPos = nRunEnd + 5;
    }
    CBodyScanner::ParagraphPostProcess(para);
}

// Pieces that real and broken documents are made of, to be strung together.
const char* const kPieces[] = {
    "<w:p>", "<w:p w14:paraId=\"1A\">", "</w:p>", "<w:pPr>", "</w:pPr>",
    "<w:pStyle w:val=\"2\"/>", "<w:numId w:val=\"7\"/>", "<w:numId  w:val=\"8\"/>",
    "<w:spacing w:before=\"0\" w:line=\"360\" w:lineRule=\"auto\"/>", "<w:spacing w:lineRule=\"auto\"/>",
    "<w:outlineLvl w:val=\"1\"/>", "<w:outlineLvl w:val=\"9\"/>",
    "<w:r>", "<w:r w:rsidR=\"00A1\">", "</w:r>", "<w:rPr>", "</w:rPr>", "<w:r/>",
    "<m:r>", "</m:r>", "<m:t>x+1</m:t>", "<m:oMath>",
    "<w:rFonts w:ascii=\"Arial\" w:eastAsia=\"宋体\"/>", "<w:rFonts w:hAnsi=\"Cambria\"/>",
    "<w:rFonts w:eastAsia=\"\" w:ascii=\"Calibri\"/>", "<w:lang w:eastAsia=\"zh-CN\"/>",
    "<w:sz w:val=\"24\"/>", "<w:szCs w:val=\"21\"/>", "<w:sz w:val=\"\"/>", "<w:sz w:val=\"-3\"/>",
    "<w:vertAlign w:val=\"superscript\"/>", "<w:vertAlign w:val=\"\"/>",
    "<w:t>", "<w:t xml:space=\"preserve\">", "</w:t>", "<w:t/>", "<w:tab/>", "<w:tabs>", "<w:tab w:val=\"left\"/>",
    "研究", " a b ", "(3)", "\n\t\t", "<w:instrText> PAGEREF _Toc1 \\h </w:instrText>",
    "<w:fldChar w:fldCharType=\"begin\"/>", "<!-- <w:r><w:t>c</w:t> -->", "<", ">", "\"", "/>",
    "<w:t a=\"<w:r>\">", "<w:sz w:val=\"1", "<w:rFonts w:eastAsia=\"黑", "</w:r", "<w:tbl>",
};

std::string RandomParagraph(std::mt19937& rng)
{
    std::uniform_int_distribution<size_t> piece(0, sizeof(kPieces) / sizeof(kPieces[0]) - 1);
    std::uniform_int_distribution<int> count(1, 40);
    std::string s;
    for (int n = count(rng); n > 0; --n)
        s += kPieces[piece(rng)];
    return s;
}

}  // namespace

TEST(TagTokenizer, NamesEndsAndEmptyTagsInOrder)
{
    std::string s = "x<w:r w:rsidR=\"1\">\n\t<w:t xml:space=\"preserve\">a b</w:t><w:tab/></w:r>tail";
    EXPECT_EQ(Walk(s), "w:r w:t /w:t w:tab/ /w:r");
    _tTag tag = FirstTag(s);
    EXPECT_EQ(tag.nStart, 1u);
    EXPECT_EQ(tag.sAttrs, " w:rsidR=\"1\"");
    EXPECT_EQ(s.substr(tag.nEnd, 2), "\n\t");
    EXPECT_EQ(Walk("no tags at all"), "");
    EXPECT_EQ(Walk("<?xml version=\"1.0\"?><w:document><w:body/></w:document>"),
              "?xml w:document w:body/ /w:document");
}

TEST(TagTokenizer, TheRangeBoundsEveryTag)
{
    std::string s = "<w:p><w:r><w:t>abc</w:t></w:r></w:p>";
    // Starting inside a tag skips to the next '<'; a tag is never read past the end.
    EXPECT_EQ(Walk(s, 2, s.find("</w:t>")), "w:r w:t");
    EXPECT_EQ(Walk(s, 0, s.find("</w:t>") + 3), "w:p w:r w:t /w~");
    EXPECT_EQ(Walk(s, 5, 5), "");
    EXPECT_EQ(Walk(s, 0, 1000), "w:p w:r w:t /w:t /w:r /w:p");
    // A '<' inside a tag starts the next one, as a byte search would see it.
    EXPECT_EQ(Walk("<w:t a=\"<w:r>\">x</w:t>"), "w:t~ w:r /w:t");
    EXPECT_EQ(Walk("<!-- <w:r> -->"), "!--~ w:r");
}

TEST(TagTokenizer, LongTagsAndShortRangesReadAlikeAtEveryOffset)
{
    // The 16-byte steps and the byte-by-byte tail must agree wherever the
    // tag and the range end fall.
    const std::string sTag = "<w:rFonts w:ascii=\"Times New Roman\" w:eastAsia=\"宋体\"/>";
    for (size_t nPad = 0; nPad < 40; ++nPad) {
        std::string s = std::string(nPad, ' ') + sTag;
        _tTag tag = FirstTag(s);
        EXPECT_EQ(tag.sName, "w:rFonts") << nPad;
        EXPECT_TRUE(tag.bSelfClosing && tag.bComplete) << nPad;
        EXPECT_EQ(tag.nEnd, s.size()) << nPad;
        bool bFound = false;
        EXPECT_EQ(tag.Value(s, "w:eastAsia", bFound), "宋体") << nPad;
        for (size_t nCut = nPad + 2; nCut < s.size(); ++nCut) {
            CTagTokenizer cut(s, 0, nCut);
            ASSERT_TRUE(cut.Next(tag));
            EXPECT_FALSE(tag.bComplete);
            EXPECT_EQ(tag.nEnd, nCut);
            EXPECT_LE(tag.sName.size() + tag.sAttrs.size(), nCut - nPad);
        }
    }
}

TEST(TagTokenizer, ElementTestsAndAttributeValues)
{
    auto Opens = [](const std::string& s, const char* sName) { return FirstTag(s).IsOpening(sName); };
    EXPECT_TRUE(Opens("<w:t>", "w:t"));
    EXPECT_TRUE(Opens("<w:t xml:space=\"preserve\">", "w:t"));
    EXPECT_FALSE(Opens("<w:t/>", "w:t"));
    EXPECT_FALSE(Opens("</w:t>", "w:t"));
    EXPECT_FALSE(Opens("<w:tab/>", "w:t"));
    EXPECT_FALSE(Opens("<w:tbl>", "w:t"));
    EXPECT_TRUE(FirstTag("<w:tab/>").Is("<w:tab/>", "<w:tab/>"));
    EXPECT_FALSE(FirstTag("<w:tab />").Is("<w:tab />", "<w:tab/>"));

    bool bFound = false;
    std::string s = "<w:sz w:val=\"24\"/>";
    EXPECT_EQ(FirstTag(s).LeadingValue(s, "w:val", bFound), "24");
    EXPECT_TRUE(bFound);
    s = "<w:sz w:val=\"\"/>";
    EXPECT_EQ(FirstTag(s).LeadingValue(s, "w:val", bFound), "");
    EXPECT_TRUE(bFound);
    for (std::string sOther : {"<w:sz  w:val=\"24\"/>", "<w:sz w:x=\"1\" w:val=\"2\"/>", "<w:sz w:val=24/>",
                               "<w:sz w:val=\"24"}) {
        FirstTag(sOther).LeadingValue(sOther, "w:val", bFound);
        EXPECT_FALSE(bFound) << sOther;
    }
    s = "<w:spacing w:lineRule=\"auto\" w:before=\"0\" w:line=\"360\"/>";
    EXPECT_EQ(FirstTag(s).Value(s, "w:line", bFound), "360");
    s = "<w:spacing w:lineRule=\"auto\"/>";
    FirstTag(s).Value(s, "w:line", bFound);
    EXPECT_FALSE(bFound);
}

TEST(TagTokenizer, ValuesToNumbersAsAtoiReadsThem)
{
    for (const char* s : {"24", "0", "-3", "+5", " 7", "12abc", "abc", "", "999999999", "2147483648",
                          "99999999999999999999", "-2147483649"})
        EXPECT_EQ(ValueToInt(s), std::atoi(s)) << s;
}

TEST(ParagraphTagReader, PropertiesAndRunsOfOneParagraph)
{
    std::string s = "<w:p><w:pPr><w:pStyle w:val=\"2\"/><w:numId w:val=\"7\"/><w:spacing w:line=\"360\"/>"
                    "</w:pPr><w:r><w:rPr><w:sz w:val=\"24\"/></w:rPr><w:t>甲</w:t></w:r>"
                    "<w:r><w:rPr><w:szCs w:val=\"21\"/><w:vertAlign w:val=\"superscript\"/></w:rPr>"
                    "<w:tab/><w:t xml:space=\"preserve\">2 </w:t></w:r>"
                    "<m:r><m:t>x</m:t></m:r><w:r><w:drawing><a:blip r:embed=\"rId5\"/></w:drawing></w:r>"
                    "<w:r><w:t>cut";
    _tParagraphTags tags;
    CParagraphTagReader(s).Read(0, s.size(), tags);
    EXPECT_EQ(tags.sStyle, "2");
    EXPECT_EQ(tags.sNumId, "7");
    EXPECT_EQ(tags.sLine, "360");
    EXPECT_FALSE(tags.bOutline);
    ASSERT_EQ(tags.vecRuns.size(), 5u);
    const _tRunTags& first = tags.vecRuns[0];
    EXPECT_EQ(first.sText, "甲");
    EXPECT_EQ(first.sSize, "24");
    EXPECT_EQ(s.substr(first.nEnd, 6), "</w:r>");
    const _tRunTags& second = tags.vecRuns[1];
    EXPECT_TRUE(second.bTab);
    EXPECT_EQ(second.sAlign, "superscript");
    EXPECT_EQ(second.sText, "2 ");
    EXPECT_EQ(second.sSize, "21");
    EXPECT_TRUE(tags.vecRuns[2].bMath);
    EXPECT_EQ(tags.vecRuns[2].sText, "x");
    EXPECT_EQ(s.compare(tags.vecRuns[3].nPicture, 7, "<a:blip"), 0);
    // The last run has no end: it reaches the end of the range, its text none.
    EXPECT_EQ(tags.vecRuns[4].nEnd, s.size());
    EXPECT_FALSE(tags.vecRuns[4].bText);
}

TEST(ParagraphTagReader, OnePassReadsWhatThePerPropertySearchesRead)
{
    std::mt19937 rng(20240611);
    CDocxParser parser;
    for (int i = 0; i < 5000; ++i) {
        std::string s = RandomParagraph(rng);
        // Ranges start and end where the scanner puts them: at a '<' (or
        // just inside "<w:p") and at a '<' or the end of the text.
        std::vector<size_t> vecTags = {0};
        for (size_t n = s.find('<'); n != std::string::npos; n = s.find('<', n + 1))
            vecTags.push_back(n);
        vecTags.push_back(s.size());
        std::uniform_int_distribution<size_t> pick(0, vecTags.size() - 1);
        size_t nStart = vecTags[pick(rng) / 2];
        size_t nEnd = std::max(nStart, vecTags[pick(rng)]);
        if (s.compare(nStart, 4, "<w:p") == 0 && nEnd > nStart + 3)
            nStart += 3;
        _tParagraph expected, actual;
        SearchParagraph(s, nStart, nEnd, expected);
        CBodyScanner(parser, s).ExtractParagrah(nStart, nEnd, actual, 0, 0, false);
        SCOPED_TRACE(s.substr(nStart, nEnd - nStart));
        ASSERT_EQ(actual.text, expected.text);
        ASSERT_EQ(actual.level, expected.level);
        ASSERT_EQ(actual.font_size, expected.font_size);
        ASSERT_EQ(actual.line_space, expected.line_space);
        ASSERT_EQ(actual.numPtr, expected.numPtr);
    }
}

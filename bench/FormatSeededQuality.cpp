// Quality of the format check on seeded changes: each default template
// sample (written by `veskar_mkdata templates` into <build>/TemplateSamples)
// gets one change at a time on a fresh copy of its document part, and the
// copy is checked through the C interface against the default templates.
// A change is found right when the check adds a format finding with the
// expected code and proposed value beside what the unchanged sample gets;
// every other format finding it adds is counted as extra.
//
// Changes: a title's East Asian font, a body paragraph's size, a
// paragraph's line spacing (under its own rule, or under the other rule with
// another height), a section number skipped or repeated, a caption removed
// or renumbered, a required part removed; and one that should give no
// finding: a spacing restated under the other rule with the same height.
// The "必备内容：KKK..GGG" lines that tell the template learner which parts
// are required are taken out of every copy (and of the unchanged sample): a
// checked document does not carry them.
//
// usage: FormatSeededQuality [--samples DIR] [--data INITDIR] [--count N]
//                            [--seed N] [--show N] [--list N] [--keep DIR]
//   --show N   print the first N cases that are not right and clean
//   --list N   print the first N cases whatever came out
//   --keep DIR keep the changed documents of the cases not right and clean
#include <json/json.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchLibraryRun.h"
#include "BenchPackage.h"
#include "veskar.h"

namespace {

const char* const kDocumentItem = "word/document.xml";
const char* const kMarkerLead = "必备内容：";
const char* const kSubstitute = "其他事项";

struct _tSampleType {
    const char* sName;
    int nType;
};
// The report types of the samples the build writes, by file name.
const _tSampleType kSampleTypes[] = {{"technical", 1}, {"research", 2}, {"safety", 4},
                                     {"general", 5},   {"paper", 6},    {"thesis", 7}};

const char* const kChineseDigits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
const char* const kFonts[] = {"宋体", "黑体", "楷体_GB2312", "仿宋_GB2312", "微软雅黑", "隶书"};
const int kSizes[] = {18, 21, 24, 28, 30, 32, 36};
const int kAutoLines[] = {240, 300, 360, 480};
const int kExactLines[] = {400, 480, 560, 600};

enum EKind {
    FONT,
    SIZE,
    SPACING,
    RULE_CHANGED,
    RESTATED,
    SKIP,
    DUPLICATE,
    CAPTION_REMOVED,
    CAPTION_RENUMBERED,
    PART_REMOVED,
    KIND_COUNT
};
const char* const kKindNames[] = {"title font",      "body size",        "line spacing",    "spacing rule+height",
                                  "spacing restated", "number skipped",  "number repeated", "caption removed",
                                  "caption renumbered", "part removed"};

// One top-level block of the document body: a paragraph or a table.
struct _tBlock {
    size_t nStart = 0, nEnd = 0;  // byte range in the document part
    bool bTable = false;
    bool bCentered = false;
    bool bPicture = false;
    int nHeading = 0;  // 1..3 from the heading style, else 0
    std::string sText;
};

struct _tFinding {
    std::string sCode, sOrg, sNew, sText, sRevise;
};

struct _tSample {
    std::string sName;
    int nType = 0;
    bench::PackageItems items;
    std::string sXml;  // the document part without the marker lines
    std::vector<_tBlock> vecBlocks;
    std::vector<std::string> vecRequired;
    std::vector<_tFinding> vecBaseline;
};

struct _tExpect {
    std::string sCode, sOrg, sNew;
    std::string sText;      // the paragraph the finding is on; empty when the finding names none
    std::string sRestored;  // for a number: the paragraph as it was
};

enum EOutcome { RIGHT, WRONG, MISSED };

struct _tCase {
    EKind eKind = FONT;
    size_t nSample = 0;
    std::string sTarget;  // what was changed, for the listing
    std::string sXml;
    _tExpect expect;
    std::vector<_tFinding> vecAdded;  // format findings beyond the baseline
    EOutcome eOutcome = MISSED;
    size_t nExtra = 0;
};

// ---- The document part ----------------------------------------------------

bool StartsWith(const std::string& s, const std::string& sPrefix)
{
    return s.compare(0, sPrefix.size(), sPrefix) == 0;
}

std::string Unescape(const std::string& s)
{
    std::string sOut;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            sOut += s[i];
            continue;
        }
        static const std::pair<const char*, char> kEntities[] = {
            {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        bool bDone = false;
        for (const auto& [sEntity, c] : kEntities) {
            if (!bDone && s.compare(i, std::strlen(sEntity), sEntity) == 0) {
                sOut += c;
                i += std::strlen(sEntity) - 1;
                bDone = true;
            }
        }
        if (!bDone)
            sOut += '&';
    }
    return sOut;
}

// The text of the w:t elements of a paragraph.
std::string ParagraphText(const std::string& sPara)
{
    std::string sText;
    for (size_t nPos = 0; (nPos = sPara.find("<w:t", nPos)) != std::string::npos;) {
        char c = nPos + 4 < sPara.size() ? sPara[nPos + 4] : '\0';
        size_t nOpenEnd = sPara.find('>', nPos);
        if ((c != '>' && c != ' ') || nOpenEnd == std::string::npos || sPara[nOpenEnd - 1] == '/') {
            nPos += 4;
            continue;
        }
        size_t nClose = sPara.find("</w:t>", nOpenEnd);
        if (nClose == std::string::npos)
            break;
        sText += Unescape(sPara.substr(nOpenEnd + 1, nClose - nOpenEnd - 1));
        nPos = nClose + 6;
    }
    return sText;
}

// The first value of an attribute written as sAttr="value".
std::string AttrValue(const std::string& sXml, const std::string& sAttr)
{
    size_t nPos = sXml.find(sAttr + "=\"");
    if (nPos == std::string::npos)
        return "";
    nPos += sAttr.size() + 2;
    return sXml.substr(nPos, sXml.find('"', nPos) - nPos);
}

// Every value of an attribute set to sValue; the count changed.
int SetAttr(std::string& sXml, const std::string& sAttr, const std::string& sValue)
{
    int nCount = 0;
    const std::string sLead = sAttr + "=\"";
    for (size_t nPos = 0; (nPos = sXml.find(sLead, nPos)) != std::string::npos; ++nCount) {
        nPos += sLead.size();
        size_t nEnd = sXml.find('"', nPos);
        sXml.replace(nPos, nEnd - nPos, sValue);
        nPos += sValue.size();
    }
    return nCount;
}

// The end of the element that starts at nStart (its closing tag included);
// elements of the same name inside it are skipped.
size_t ElementEnd(const std::string& sXml, size_t nStart, const std::string& sName)
{
    const std::string sOpen = "<" + sName, sClose = "</" + sName + ">";
    int nDepth = 0;
    for (size_t nPos = nStart; nPos < sXml.size();) {
        size_t nNextOpen = sXml.find(sOpen, nPos), nNextClose = sXml.find(sClose, nPos);
        if (nNextClose == std::string::npos)
            return std::string::npos;
        char c = nNextOpen < nNextClose ? sXml[nNextOpen + sOpen.size()] : '\0';
        if (nNextOpen < nNextClose && (c == '>' || c == ' ')) {
            ++nDepth;
            nPos = nNextOpen + sOpen.size();
        } else if (nNextOpen < nNextClose) {
            nPos = nNextOpen + sOpen.size();
        } else {
            if (--nDepth == 0)
                return nNextClose + sClose.size();
            nPos = nNextClose + sClose.size();
        }
    }
    return std::string::npos;
}

_tBlock ReadBlock(const std::string& sXml, size_t nStart, size_t nEnd, bool bTable)
{
    _tBlock block;
    block.nStart = nStart;
    block.nEnd = nEnd;
    block.bTable = bTable;
    if (bTable)
        return block;
    std::string sPara = sXml.substr(nStart, nEnd - nStart);
    block.sText = ParagraphText(sPara);
    block.bCentered = sPara.find("<w:jc w:val=\"center\"/>") != std::string::npos;
    block.bPicture = sPara.find("<w:drawing>") != std::string::npos;
    std::string sStyle = AttrValue(sPara, "<w:pStyle w:val");
    if (StartsWith(sStyle, "Heading") && sStyle.size() == 8)
        block.nHeading = sStyle[7] - '0';
    return block;
}

// The paragraphs and tables directly under w:body.
std::vector<_tBlock> SplitBody(const std::string& sXml)
{
    std::vector<_tBlock> vecBlocks;
    size_t nPos = sXml.find("<w:body>");
    if (nPos == std::string::npos)
        return vecBlocks;
    nPos += 8;
    while (nPos < sXml.size()) {
        bool bTable = sXml.compare(nPos, 7, "<w:tbl>") == 0;
        bool bPara = sXml.compare(nPos, 5, "<w:p>") == 0 || sXml.compare(nPos, 5, "<w:p ") == 0;
        if (!bTable && !bPara)
            break;  // w:sectPr or the end of the body
        size_t nEnd = ElementEnd(sXml, nPos, bTable ? "w:tbl" : "w:p");
        if (nEnd == std::string::npos)
            break;
        vecBlocks.push_back(ReadBlock(sXml, nPos, nEnd, bTable));
        nPos = nEnd;
    }
    return vecBlocks;
}

std::string BlockXml(const std::string& sXml, const _tBlock& block)
{
    return sXml.substr(block.nStart, block.nEnd - block.nStart);
}

std::string ReplaceBlocks(const std::string& sXml, const _tBlock& first, const _tBlock& last,
                          const std::string& sNew)
{
    return sXml.substr(0, first.nStart) + sNew + sXml.substr(last.nEnd);
}

std::string ReplaceAll(std::string s, const std::string& sFrom, const std::string& sTo)
{
    for (size_t nPos = 0; (nPos = s.find(sFrom, nPos)) != std::string::npos; nPos += sTo.size())
        s.replace(nPos, sFrom.size(), sTo);
    return s;
}

// Takes the marker lines out of the sample and keeps the parts they name.
void StripMarkers(_tSample& sample, const std::string& sXml)
{
    std::vector<_tBlock> vecBlocks = SplitBody(sXml);
    std::string sOut;
    size_t nDone = 0;
    for (const _tBlock& block : vecBlocks) {
        if (!StartsWith(block.sText, kMarkerLead))
            continue;
        size_t nOpen = block.sText.find("KKK"), nClose = block.sText.find("GGG");
        if (nOpen != std::string::npos && nClose != std::string::npos && nClose > nOpen)
            sample.vecRequired.push_back(block.sText.substr(nOpen + 3, nClose - nOpen - 3));
        sOut += sXml.substr(nDone, block.nStart - nDone);
        nDone = block.nEnd;
    }
    sample.sXml = sOut + sXml.substr(nDone);
    sample.vecBlocks = SplitBody(sample.sXml);
}

// ---- Numbers in headings and captions ---------------------------------------

// The last number of a heading or caption number ("1.2", "（二）", "图1-1").
struct _tNumberSpot {
    size_t nPos = 0, nLen = 0;  // the digits of the last part
    int nValue = 0;
    bool bChinese = false;
    size_t nWrittenEnd = 0;     // the end of the whole number as written
};

int ChineseDigit(const std::string& s, size_t nPos)
{
    for (int n = 1; n <= 10; ++n)
        if (s.compare(nPos, std::strlen(kChineseDigits[n]), kChineseDigits[n]) == 0)
            return n;
    return 0;
}

bool FindNumber(const std::string& sText, _tNumberSpot& spot)
{
    static const std::string kOpen = "（", kClose = "）";
    if (StartsWith(sText, kOpen)) {
        spot.nPos = kOpen.size();
        spot.nValue = ChineseDigit(sText, spot.nPos);
        spot.nLen = 3;
        spot.bChinese = true;
        spot.nWrittenEnd = spot.nPos + spot.nLen + kClose.size();
        return spot.nValue > 0 && sText.compare(spot.nPos + 3, kClose.size(), kClose) == 0;
    }
    size_t nPos = StartsWith(sText, "图") || StartsWith(sText, "表") ? 3 : 0;
    size_t nEnd = nPos;
    while (nEnd < sText.size() && (isdigit(static_cast<unsigned char>(sText[nEnd])) || sText[nEnd] == '.' ||
                                   sText[nEnd] == '-'))
        ++nEnd;
    size_t nLast = nEnd;
    while (nLast > nPos && isdigit(static_cast<unsigned char>(sText[nLast - 1])))
        --nLast;
    if (nLast == nEnd)
        return false;
    spot.nPos = nLast;
    spot.nLen = nEnd - nLast;
    spot.nValue = std::atoi(sText.c_str() + nLast);
    spot.nWrittenEnd = nEnd;
    return true;
}

std::string WithNumber(const std::string& sText, const _tNumberSpot& spot, int nValue)
{
    std::string sDigits = spot.bChinese ? kChineseDigits[nValue] : std::to_string(nValue);
    return sText.substr(0, spot.nPos) + sDigits + sText.substr(spot.nPos + spot.nLen);
}

std::string Written(const std::string& sText)
{
    _tNumberSpot spot;
    return FindNumber(sText, spot) ? sText.substr(0, spot.nWrittenEnd) : "";
}

// A heading of this level follows before the next higher heading.
bool HasLaterSibling(const std::vector<_tBlock>& vecBlocks, size_t nIndex)
{
    int nLevel = vecBlocks[nIndex].nHeading;
    for (size_t i = nIndex + 1; i < vecBlocks.size(); ++i) {
        if (vecBlocks[i].nHeading > 0 && vecBlocks[i].nHeading <= nLevel)
            return vecBlocks[i].nHeading == nLevel;
    }
    return false;
}

bool IsCaption(const _tBlock& block)
{
    _tNumberSpot spot;
    return !block.bTable && (StartsWith(block.sText, "图") || StartsWith(block.sText, "表")) &&
           FindNumber(block.sText, spot);
}

// Body text inside the chapters: no heading style, not centred, not a
// reference entry.
bool IsBody(const std::vector<_tBlock>& vecBlocks, size_t nIndex)
{
    const _tBlock& block = vecBlocks[nIndex];
    if (block.bTable || block.nHeading || block.bCentered || block.sText.empty() || block.sText[0] == '[')
        return false;
    for (size_t i = 0; i < nIndex; ++i)
        if (vecBlocks[i].nHeading == 1)
            return true;
    return false;
}

// ---- The changes --------------------------------------------------------------

template <class T>
const T& Pick(const std::vector<T>& vec, std::mt19937& rng)
{
    return vec[rng() % vec.size()];
}

std::vector<size_t> Candidates(const _tSample& sample, bool (*isKind)(const std::vector<_tBlock>&, size_t))
{
    std::vector<size_t> vec;
    for (size_t i = 0; i < sample.vecBlocks.size(); ++i)
        if (isKind(sample.vecBlocks, i))
            vec.push_back(i);
    return vec;
}

bool IsHeading(const std::vector<_tBlock>& v, size_t i)
{
    return v[i].nHeading >= 1 && v[i].nHeading <= 3;
}

// A CJK ideograph of the basic block (U+4E00..U+9FFF) in UTF-8.
bool HasHan(const std::string& sText)
{
    for (size_t i = 0; i + 2 < sText.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c >= 0xE4 && c <= 0xE9)
            return true;
    }
    return false;
}

// A numbered heading, or a centred title of the front or back matter (摘要,
// 参考文献, 致谢); not the document's own title, which belongs to the cover.
// Titles in Latin letters only have no East Asian font to check.
bool IsTitle(const std::vector<_tBlock>& v, size_t i)
{
    const _tBlock& block = v[i];
    // The contents' caption is front matter no template describes.
    bool bMatterTitle = i > 0 && block.bCentered && !block.bTable && !block.sText.empty() && !IsCaption(block) &&
                        block.sText != "目录";
    return (IsHeading(v, i) || bMatterTitle) && HasHan(block.sText);
}

bool IsTitleOrBody(const std::vector<_tBlock>& v, size_t i)
{
    return IsTitle(v, i) || IsBody(v, i);
}

bool IsLastNumberedSection(const std::vector<_tBlock>& v, size_t i)
{
    _tNumberSpot spot;
    return v[i].nHeading >= 2 && FindNumber(v[i].sText, spot) && spot.nValue >= 2 && !HasLaterSibling(v, i);
}

bool IsNumberedSection(const std::vector<_tBlock>& v, size_t i)
{
    _tNumberSpot spot;
    return v[i].nHeading >= 2 && FindNumber(v[i].sText, spot) && spot.nValue >= 2;
}

bool IsCaptionAt(const std::vector<_tBlock>& v, size_t i)
{
    return IsCaption(v[i]);
}

template <class T, size_t N, class U>
T PickOther(const T (&options)[N], const U& current, std::mt19937& rng)
{
    std::vector<T> vec;
    for (const T& option : options)
        if (!(current == option))
            vec.push_back(option);
    return Pick(vec, rng);
}

// Sets one paragraph's attribute(s) and records the change.
void ChangeAttrs(const _tSample& sample, const _tBlock& block, const std::vector<std::string>& vecAttrs,
                 const std::string& sValue, _tCase& c)
{
    std::string sPara = BlockXml(sample.sXml, block);
    for (const std::string& sAttr : vecAttrs)
        SetAttr(sPara, sAttr, sValue);
    c.sXml = ReplaceBlocks(sample.sXml, block, block, sPara);
    c.sTarget = block.sText;
    c.expect.sText = block.sText;
}

using SizeNames = std::map<int, std::string>;

bool SeedFont(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsTitle);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    std::string sOld = AttrValue(BlockXml(sample.sXml, block), "w:eastAsia");
    std::string sNew = PickOther(kFonts, std::string(sOld), rng);
    ChangeAttrs(sample, block, {"w:eastAsia"}, sNew, c);
    c.expect = {"1.1.1", sNew, sOld, block.sText, ""};
    return true;
}

std::string SizeName(const SizeNames& names, int nSize)
{
    auto it = names.find(nSize);
    return it == names.end() ? std::to_string(nSize) : it->second;
}

bool SeedSize(const _tSample& sample, std::mt19937& rng, const SizeNames& names, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsBody);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    int nOld = std::atoi(AttrValue(BlockXml(sample.sXml, block), "<w:sz w:val").c_str());
    int nNew = PickOther(kSizes, nOld, rng);
    ChangeAttrs(sample, block, {"<w:sz w:val", "<w:szCs w:val"}, std::to_string(nNew), c);
    c.expect = {"1.1.2", SizeName(names, nNew), SizeName(names, nOld), block.sText, ""};
    return true;
}

bool SeedSpacing(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsTitleOrBody);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    std::string sPara = BlockXml(sample.sXml, block);
    int nOld = std::atoi(AttrValue(sPara, "w:line").c_str());
    bool bExact = AttrValue(sPara, "w:lineRule") == "exact";
    int nNew = bExact ? PickOther(kExactLines, nOld, rng) : PickOther(kAutoLines, nOld, rng);
    ChangeAttrs(sample, block, {"w:line"}, std::to_string(nNew), c);
    c.expect = {"1.1.3", std::to_string(nNew / 20), std::to_string(nOld / 20), block.sText, ""};
    return true;
}

// The distance of lines in points as a word processor lays them out: a
// single line of the Chinese fonts is 1.3 times their size.
double PitchPoints(int nLine, bool bExact, int nSize)
{
    return bExact ? nLine / 20.0 : nLine / 240.0 * nSize / 2.0 * 1.3;
}

int LineForPitch(double dPoints, bool bExact, int nSize)
{
    return static_cast<int>(std::lround(bExact ? dPoints * 20.0 : dPoints / (nSize / 2.0 * 1.3) * 240.0));
}

// Restates a paragraph's spacing under the other rule (exact points for
// multiples of a line and back) with its height times fFactor; the new
// w:line, the old one and whether the old rule was exact.
void Restate(const _tSample& sample, const _tBlock& block, double fFactor, _tCase& c, int& nNew, int& nOld,
             bool& bWasExact, int& nSize)
{
    std::string sPara = BlockXml(sample.sXml, block);
    nOld = std::atoi(AttrValue(sPara, "w:line").c_str());
    nSize = std::atoi(AttrValue(sPara, "<w:sz w:val").c_str());
    bWasExact = AttrValue(sPara, "w:lineRule") == "exact";
    nNew = LineForPitch(PitchPoints(nOld, bWasExact, nSize) * fFactor, !bWasExact, nSize);
    SetAttr(sPara, "w:line", std::to_string(nNew));
    SetAttr(sPara, "w:lineRule", bWasExact ? "auto" : "exact");
    c.sXml = ReplaceBlocks(sample.sXml, block, block, sPara);
    c.sTarget = block.sText + (bWasExact ? " (exact " : " (auto ") + std::to_string(nOld) + " -> " +
                (bWasExact ? "auto " : "exact ") + std::to_string(nNew) + ")";
}

// Another rule and a height a reader sees as different: the finding gives
// the sample's height in the paragraph's new rule.
bool SeedRuleChanged(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    static const double kFactors[] = {0.6, 0.7, 1.4, 1.6};
    std::vector<size_t> vec = Candidates(sample, IsTitleOrBody);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    int nNew = 0, nOld = 0, nSize = 0;
    bool bWasExact = false;
    Restate(sample, block, kFactors[rng() % 4], c, nNew, nOld, bWasExact, nSize);
    int nWant = LineForPitch(PitchPoints(nOld, bWasExact, nSize), !bWasExact, nSize);
    c.expect = {"1.1.3", std::to_string(nNew / 20), std::to_string(nWant / 20), block.sText, ""};
    return true;
}

// The same height under the other rule, within a few percent: no finding.
bool SeedRestated(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsTitleOrBody);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    int nNew = 0, nOld = 0, nSize = 0;
    bool bWasExact = false;
    Restate(sample, block, 0.95 + 0.01 * static_cast<double>(rng() % 11), c, nNew, nOld, bWasExact, nSize);
    c.expect = {"", "", "", "", ""};
    return true;
}

// Gives a heading or caption another last number.
void Renumber(const _tSample& sample, const _tBlock& block, int nDelta, const char* sCode, _tCase& c)
{
    _tNumberSpot spot;
    FindNumber(block.sText, spot);
    std::string sNewText = WithNumber(block.sText, spot, spot.nValue + nDelta);
    std::string sPara = BlockXml(sample.sXml, block);
    sPara = ReplaceAll(sPara, bench::XmlEscape(block.sText), bench::XmlEscape(sNewText));
    c.sXml = ReplaceBlocks(sample.sXml, block, block, sPara);
    c.sTarget = block.sText + " -> " + sNewText;
    c.expect = {sCode, Written(sNewText), Written(block.sText), sNewText, block.sText};
}

bool SeedSkip(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsLastNumberedSection);
    if (vec.empty())
        return false;
    Renumber(sample, sample.vecBlocks[Pick(vec, rng)], 1, "1.3.5", c);
    return true;
}

bool SeedDuplicate(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsNumberedSection);
    if (vec.empty())
        return false;
    Renumber(sample, sample.vecBlocks[Pick(vec, rng)], -1, "1.3.5", c);
    return true;
}

bool IsFigureCaption(const _tBlock& block)
{
    return StartsWith(block.sText, "图");
}

bool SeedCaptionRemoved(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsCaptionAt);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    c.sXml = ReplaceBlocks(sample.sXml, block, block, "");
    c.sTarget = block.sText;
    c.expect = {IsFigureCaption(block) ? "99.6" : "99.7", "", "", "", ""};
    return true;
}

bool SeedCaptionRenumbered(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    std::vector<size_t> vec = Candidates(sample, IsCaptionAt);
    if (vec.empty())
        return false;
    const _tBlock& block = sample.vecBlocks[Pick(vec, rng)];
    Renumber(sample, block, 1, IsFigureCaption(block) ? "1.3.1" : "1.3.3", c);
    return true;
}

std::string WithoutBlanks(const std::string& sText)
{
    return ReplaceAll(ReplaceAll(ReplaceAll(sText, " ", ""), "\t", ""), "　", "");
}

// Where a part that begins a paragraph ends: at the next heading, centred
// title, required part or the end of the body.
size_t PartEnd(const _tSample& sample, size_t nFirst)
{
    size_t i = nFirst + 1;
    for (; i < sample.vecBlocks.size(); ++i) {
        const _tBlock& block = sample.vecBlocks[i];
        bool bTitle = block.nHeading || (block.bCentered && !block.sText.empty() && !IsCaption(block));
        bool bPart = false;
        for (const std::string& sPart : sample.vecRequired)
            bPart = bPart || StartsWith(WithoutBlanks(block.sText), sPart);
        if (bTitle || bPart)
            break;
    }
    return i - 1;
}

// A part that begins a paragraph goes with what follows it up to the next
// part; a part that only stands inside text (a chapter named so) is renamed.
bool SeedPartRemoved(const _tSample& sample, std::mt19937& rng, const SizeNames&, _tCase& c)
{
    if (sample.vecRequired.empty())
        return false;
    const std::string& sPart = Pick(sample.vecRequired, rng);
    std::string sXml = sample.sXml;
    for (size_t i = 0; i < sample.vecBlocks.size(); ++i) {
        if (!StartsWith(WithoutBlanks(sample.vecBlocks[i].sText), sPart))
            continue;
        sXml = ReplaceBlocks(sample.sXml, sample.vecBlocks[i], sample.vecBlocks[PartEnd(sample, i)], "");
        break;
    }
    c.sXml = ReplaceAll(sXml, sPart, kSubstitute);
    c.sTarget = sPart;
    c.expect = {"12.1", "", sPart, "", ""};
    return true;
}

using SeedFunction = bool (*)(const _tSample&, std::mt19937&, const SizeNames&, _tCase&);
const SeedFunction kSeeds[KIND_COUNT] = {SeedFont,      SeedSize,           SeedSpacing,
                                         SeedRuleChanged, SeedRestated,   SeedSkip,
                                         SeedDuplicate, SeedCaptionRemoved, SeedCaptionRenumbered,
                                         SeedPartRemoved};

// ---- Checking -----------------------------------------------------------------

bool IsFormatFinding(const _tFinding& f)
{
    for (const char* sPrefix : {"1.1.", "1.3.", "14."})
        if (StartsWith(f.sCode, sPrefix))
            return true;
    // The template's missing parts are revised by hand (M); the audit rules'
    // missing elements are insertions (I).
    return f.sCode == "1.6" || f.sCode == "99.6" || f.sCode == "99.7" || (f.sCode == "12.1" && f.sRevise == "M");
}

bool Check(const std::string& sFile, int nType, std::vector<_tFinding>& vecFindings)
{
    const char* sJson = VESKAR_CheckReportF(sFile.c_str(), "", "", nType, VESKAR_FORMAT_JSON, false, 0);
    Json::Value root;
    if (!sJson || !Json::Reader().parse(sJson, root)) {
        std::fprintf(stderr, "cannot check %s: %s\n", sFile.c_str(), VESKAR_GetLastErrorMsg());
        return false;
    }
    vecFindings.clear();
    for (const Json::Value& e : root["Errors"]) {
        _tFinding f {e["errorno"].asString(), e["OrgStr"].asString(), e["NewStr"].asString(), e["text"].asString(),
                     e["revisetype"].asString()};
        if (IsFormatFinding(f))
            vecFindings.push_back(f);
    }
    return true;
}

bool SameFinding(const _tFinding& a, const _tFinding& b)
{
    return a.sCode == b.sCode && a.sOrg == b.sOrg && a.sNew == b.sNew && a.sText == b.sText;
}

// The findings not matched one for one by a finding of the baseline.
std::vector<_tFinding> Added(const std::vector<_tFinding>& vecFindings, std::vector<_tFinding> vecBaseline)
{
    std::vector<_tFinding> vecAdded;
    for (const _tFinding& f : vecFindings) {
        auto it = std::find_if(vecBaseline.begin(), vecBaseline.end(),
                               [&f](const _tFinding& b) { return SameFinding(f, b); });
        if (it == vecBaseline.end())
            vecAdded.push_back(f);
        else
            vecBaseline.erase(it);
    }
    return vecAdded;
}

// A number finding proposes a replacement of the text it names: "（三" by
// "（二" leaves the bracket that ends both alone, and is as right as
// "（三）" by "（二）".
bool Restores(const _tFinding& f, const _tExpect& e)
{
    size_t nPos = e.sRestored.empty() || f.sOrg.empty() ? std::string::npos : e.sText.find(f.sOrg);
    return nPos != std::string::npos &&
           e.sText.substr(0, nPos) + f.sNew + e.sText.substr(nPos + f.sOrg.size()) == e.sRestored;
}

bool Matches(const _tFinding& f, const _tExpect& e)
{
    return f.sCode == e.sCode && (e.sText.empty() || f.sText == e.sText) && (f.sNew == e.sNew || Restores(f, e));
}

// A change that should give no finding is right when it gives none, and
// wrong (a false alarm) otherwise.
void Judge(_tCase& c)
{
    if (c.expect.sCode.empty()) {
        c.eOutcome = c.vecAdded.empty() ? RIGHT : WRONG;
        c.nExtra = c.vecAdded.empty() ? 0 : c.vecAdded.size() - 1;
        return;
    }
    auto it = std::find_if(c.vecAdded.begin(), c.vecAdded.end(), [&c](const _tFinding& f) { return Matches(f, c.expect); });
    c.eOutcome = it != c.vecAdded.end() ? RIGHT : c.vecAdded.empty() ? MISSED : WRONG;
    c.nExtra = c.vecAdded.empty() ? 0 : c.vecAdded.size() - 1;
    // A heading renumbered under a table of contents leaves the contents
    // naming the old number: that "1.6" is the change's due, not an extra.
    bool bHeadingRenamed = c.eKind == SKIP || c.eKind == DUPLICATE;
    if (bHeadingRenamed && c.nExtra > 0)
        c.nExtra -= static_cast<size_t>(
            std::count_if(c.vecAdded.begin(), c.vecAdded.end(), [](const _tFinding& f) { return f.sCode == "1.6"; }));
}

// Writes the sample with another document part and checks it.
bool CheckXml(const _tSample& sample, const std::string& sXml, const std::string& sDir,
              std::vector<_tFinding>& vecFindings)
{
    std::error_code error;
    std::filesystem::create_directories(sDir, error);
    std::string sFile = sDir + "/" + sample.sName + ".docx";
    bool bOk = bench::WritePackage(sFile, bench::WithItem(sample.items, kDocumentItem, sXml)) &&
               Check(sFile, sample.nType, vecFindings);
    std::filesystem::remove_all(sDir, error);
    return bOk;
}

// ---- Setup and report -----------------------------------------------------

bool LoadSample(const std::string& sSamples, const _tSampleType& type, const std::string& sWork, _tSample& sample)
{
    sample.sName = type.sName;
    sample.nType = type.nType;
    std::string sPath = sSamples + "/" + type.sName + ".docx";
    if (!bench::ReadPackage(sPath, sample.items)) {
        std::fprintf(stderr, "cannot read %s\n", sPath.c_str());
        return false;
    }
    for (const auto& [sName, sData] : sample.items)
        if (sName == kDocumentItem)
            StripMarkers(sample, sData);
    return !sample.vecBlocks.empty() && CheckXml(sample, sample.sXml, sWork + "/base-" + sample.sName,
                                                 sample.vecBaseline);
}

SizeNames LoadSizeNames(const std::string& sFile)
{
    SizeNames names;
    std::ifstream in(sFile);
    std::string sName;
    int nSize = 0;
    std::getline(in, sName);  // the header
    while (in >> sName >> nSize)
        names[nSize] = sName;  // a later name wins, as in the library's table
    return names;
}

void PrintCase(const _tCase& c, const std::vector<_tSample>& vecSamples)
{
    static const char* const kOutcomes[] = {"right", "wrong", "missed"};
    std::printf("\n[%s] %s (type %d) %s: %s\n  expected %s [%s] -> [%s]%s%s\n", kOutcomes[c.eOutcome],
                vecSamples[c.nSample].sName.c_str(), vecSamples[c.nSample].nType, kKindNames[c.eKind],
                c.sTarget.c_str(), c.expect.sCode.c_str(), c.expect.sOrg.c_str(), c.expect.sNew.c_str(),
                c.expect.sText.empty() ? "" : " on ", c.expect.sText.c_str());
    for (const _tFinding& f : c.vecAdded)
        std::printf("  got      %s [%s] -> [%s] on \"%s\"\n", f.sCode.c_str(), f.sOrg.c_str(), f.sNew.c_str(),
                    f.sText.c_str());
}

void PrintTable(const std::vector<_tCase>& vecCases)
{
    std::printf("%-20s %9s %6s %6s %6s %10s %6s\n", "change", "generated", "right", "wrong", "missed", "with extra",
                "extra");
    size_t nTotal[6] = {};
    for (int k = 0; k <= KIND_COUNT; ++k) {
        size_t n[6] = {};
        for (const _tCase& c : vecCases) {
            if (k < KIND_COUNT && c.eKind != k)
                continue;
            size_t row[6] = {1, c.eOutcome == RIGHT, c.eOutcome == WRONG, c.eOutcome == MISSED, c.nExtra > 0, c.nExtra};
            for (int i = 0; i < 6; ++i)
                n[i] += row[i];
        }
        std::printf("%-20s %9zu %6zu %6zu %6zu %10zu %6zu\n", k < KIND_COUNT ? kKindNames[k] : "total", n[0], n[1],
                    n[2], n[3], n[4], n[5]);
        if (k == KIND_COUNT)
            std::copy(n, n + 6, nTotal);
    }
    size_t nClean = static_cast<size_t>(std::count_if(
        vecCases.begin(), vecCases.end(), [](const _tCase& c) { return c.eOutcome == RIGHT && c.nExtra == 0; }));
    double fAll = nTotal[0] ? static_cast<double>(nTotal[0]) : 1.0;
    std::printf("found right: %.1f%% (%zu of %zu); right with no extra finding: %.1f%%\n", 100.0 * nTotal[1] / fAll,
                nTotal[1], nTotal[0], 100.0 * static_cast<double>(nClean) / fAll);
}

struct _tOptions {
    std::string sSamples = std::string(VESKAR_BENCH_INIT_DIR) + "/TemplateSamples";
    std::string sInitDir = VESKAR_BENCH_INIT_DIR;
    std::string sKeep;
    size_t nCount = 200, nShow = 20, nList = 0;
    unsigned nSeed = 20240611;
};

bool ParseOptions(int argc, char** argv, _tOptions& options)
{
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc)
            return false;
        std::string sName = argv[i], sValue = argv[i + 1];
        if (sName == "--samples")
            options.sSamples = sValue;
        else if (sName == "--data")
            options.sInitDir = sValue;
        else if (sName == "--keep")
            options.sKeep = sValue;
        else if (sName == "--count")
            options.nCount = std::strtoul(sValue.c_str(), nullptr, 10);
        else if (sName == "--show")
            options.nShow = std::strtoul(sValue.c_str(), nullptr, 10);
        else if (sName == "--list")
            options.nList = std::strtoul(sValue.c_str(), nullptr, 10);
        else if (sName == "--seed")
            options.nSeed = static_cast<unsigned>(std::strtoul(sValue.c_str(), nullptr, 10));
        else
            return false;
    }
    return true;
}

// Makes and checks the cases, kinds in turn, samples and targets at random.
bool RunCases(const std::vector<_tSample>& vecSamples, const _tOptions& options, const std::string& sWork,
              std::vector<_tCase>& vecCases)
{
    SizeNames names = LoadSizeNames(options.sInitDir + "/Data/Font/FontSize.dat");
    std::mt19937 rng(options.nSeed);
    for (size_t i = 0, nTries = 0; vecCases.size() < options.nCount && nTries < options.nCount * 20; ++nTries) {
        _tCase c;
        c.eKind = static_cast<EKind>(i % KIND_COUNT);
        c.nSample = rng() % vecSamples.size();
        if (!kSeeds[c.eKind](vecSamples[c.nSample], rng, names, c))
            continue;
        std::vector<_tFinding> vecFindings;
        if (!CheckXml(vecSamples[c.nSample], c.sXml, sWork + "/case", vecFindings))
            return false;
        c.vecAdded = Added(vecFindings, vecSamples[c.nSample].vecBaseline);
        Judge(c);
        if (!options.sKeep.empty() && (c.eOutcome != RIGHT || c.nExtra)) {
            std::filesystem::create_directories(options.sKeep);
            const _tSample& sample = vecSamples[c.nSample];
            bench::WritePackage(options.sKeep + "/" + std::to_string(i) + "-" + sample.sName + ".docx",
                                bench::WithItem(sample.items, kDocumentItem, c.sXml));
        }
        vecCases.push_back(std::move(c));
        ++i;
    }
    return true;
}

int Run(const _tOptions& options, const std::string& sWork)
{
    std::vector<_tSample> vecSamples;
    for (const _tSampleType& type : kSampleTypes) {
        _tSample sample;
        if (!LoadSample(options.sSamples, type, sWork, sample))
            return 1;
        std::printf("%-10s type %d: %zu blocks, required:", sample.sName.c_str(), sample.nType,
                    sample.vecBlocks.size());
        for (const std::string& sPart : sample.vecRequired)
            std::printf(" %s", sPart.c_str());
        std::printf("; %zu format findings unchanged\n", sample.vecBaseline.size());
        vecSamples.push_back(std::move(sample));
    }
    std::vector<_tCase> vecCases;
    if (!RunCases(vecSamples, options, sWork, vecCases))
        return 1;
    std::printf("\n%zu changes, seed %u\n", vecCases.size(), options.nSeed);
    PrintTable(vecCases);
    size_t nShown = 0, nListed = 0;
    for (const _tCase& c : vecCases) {
        bool bShow = (c.eOutcome != RIGHT || c.nExtra) && nShown++ < options.nShow;
        if (nListed++ < options.nList || bShow)
            PrintCase(c, vecSamples);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    _tOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: FormatSeededQuality [--samples DIR] [--data INITDIR] [--count N] [--seed N] "
                             "[--show N] [--list N] [--keep DIR]\n");
        return 2;
    }
    return bench::RunWithLibrary("veskar-seeded", options.sInitDir,
                                 [&](const std::string& sDir) { return Run(options, sDir); });
}

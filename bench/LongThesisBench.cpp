// A whole check of long documents, stage by stage: generated theses of a
// given number of pages (about 10 body paragraphs, half a table and a third
// of a figure per page; headings, formulas, a contents list, references)
// and a real thesis of the corpus. Each document is checked several times
// in one process; the first run (cold: tables loaded on first use, files not
// in the page cache) and the median of the later runs are printed.
//
// usage: LongThesisBench [--pages N[,N...]|none] [--runs N] [--thesis FILE|none]
//                        [--format xml|json] [--data INITDIR] [--keep DIR]
//   --pages  page counts of the generated theses (default 50,300)
//   --format the form of the result and of the document and content files
//            written beside the document (default xml, as `veskar check`)
//   --keep   also write the generated theses into DIR (thesis_<N>p.docx)
#include <json/json.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "BenchLibraryRun.h"
#include "BenchPackage.h"
#include "veskar.h"

namespace {

// ---- Text of our own ----------------------------------------------------

const char* const kSubjects[] = {
    "本文提出的方法", "城市路网的交通流量", "传统的时间序列模型", "多源数据融合", "该模型的预测误差",
    "检测器采集的数据", "图神经网络", "实验所用的数据集", "节假日的出行需求", "早晚高峰的拥堵程度",
    "道路的通行能力", "注意力机制", "模型的训练过程", "不同区域的交通状态", "公共交通的客流"};
const char* const kVerbs[] = {"明显提高了", "有效降低了", "在很大程度上影响了", "进一步说明了", "直接决定了",
                              "充分反映了", "显著改善了", "逐步揭示了", "从侧面验证了", "较好地刻画了"};
const char* const kObjects[] = {
    "短时预测的精度", "路段之间的空间相关性", "流量变化的周期规律", "模型在异常天气下的稳定性",
    "参数选择对结果的影响", "数据缺失带来的偏差", "计算资源的消耗", "长时间序列的依赖关系",
    "不同时段的波动特征", "路网结构的拓扑信息"};
const char* const kTails[] = {"。", "，这与已有研究的结论一致。", "，其原因将在下一节中讨论。",
                              "，详细结果列于表中。", "，在工程应用中具有一定的参考价值。",
                              "，但在样本较少时仍有不足。"};
const char* const kNumbered[] = {"在{}个检测点上，平均绝对误差下降了{}.{}%。",
                                 "实验共使用{}天的数据，其中训练集占{}%，验证集占{}%。",
                                 "当时间窗口取{}分钟时，均方根误差为{}.{}辆每小时。",
                                 "{}年的统计表明，该区域机动车保有量增长了{}.{}%。"};

// A sentence with each "{}" replaced by a number.
std::string FillNumbers(const char* sPattern, std::mt19937& rng)
{
    std::string sOut;
    for (const char* p = sPattern; *p; ++p) {
        if (p[0] == '{' && p[1] == '}') {
            sOut += std::to_string(2 + rng() % 97);
            ++p;
        } else {
            sOut += *p;
        }
    }
    return sOut;
}

template <class T, size_t N>
const T& Pick(const T (&items)[N], std::mt19937& rng)
{
    return items[rng() % N];
}

// One to four sentences: about 30 to 160 characters.
std::string BodyText(std::mt19937& rng)
{
    std::string sText;
    int nSentences = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < nSentences; ++i) {
        if (rng() % 4 == 0)
            sText += FillNumbers(Pick(kNumbered, rng), rng);
        else
            sText += std::string(Pick(kSubjects, rng)) + Pick(kVerbs, rng) + Pick(kObjects, rng) + Pick(kTails, rng);
    }
    return sText;
}

// ---- Paragraphs in the thesis look ----------------------------------------

struct _tLook {
    const char* sFont;
    int nSize;
    int nLine;
};

const _tLook kTitle {"黑体", 44, 360}, kH1 {"黑体", 32, 360}, kH2 {"黑体", 28, 360}, kH3 {"黑体", 24, 360},
    kBody {"宋体", 24, 360}, kCaption {"宋体", 21, 240}, kCell {"宋体", 21, 240}, kEnglish {"Times New Roman", 24, 360};

std::string RunProps(const _tLook& look)
{
    std::string sSize = std::to_string(look.nSize);
    return "<w:rPr><w:rFonts w:ascii=\"Times New Roman\" w:hAnsi=\"Times New Roman\" w:eastAsia=\"" +
           std::string(look.sFont) + "\"/><w:sz w:val=\"" + sSize + "\"/><w:szCs w:val=\"" + sSize + "\"/></w:rPr>";
}

std::string Para(const std::string& sText, const _tLook& look, const char* sStyle = nullptr, bool bCenter = false,
                 const std::string& sExtraRun = "")
{
    std::string s = "<w:p><w:pPr>";
    if (sStyle)
        s += std::string("<w:pStyle w:val=\"") + sStyle + "\"/>";
    s += "<w:spacing w:line=\"" + std::to_string(look.nLine) + "\" w:lineRule=\"auto\"/>";
    if (bCenter)
        s += "<w:jc w:val=\"center\"/>";
    s += RunProps(look) + "</w:pPr>";
    if (!sText.empty())
        s += "<w:r>" + RunProps(look) + "<w:t xml:space=\"preserve\">" + bench::XmlEscape(sText) + "</w:t></w:r>";
    return s + sExtraRun + "</w:p>";
}

std::string Picture(int nId)
{
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"" +
           std::to_string(nId) + "\" name=\"图片 " + std::to_string(nId) +
           "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic><pic:blipFill><a:blip r:embed=\"rId10\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
           "</wp:inline></w:drawing></w:r>";
}

std::string Table(std::mt19937& rng)
{
    std::string s = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>";
    const char* const kHead[] = {"方法", "平均绝对误差", "均方根误差", "耗时（秒）"};
    const char* const kMethods[] = {"历史平均", "自回归模型", "长短期记忆网络", "图卷积网络", "本文方法"};
    for (int r = 0; r < 5; ++r) {
        s += "<w:tr>";
        for (int c = 0; c < 4; ++c) {
            std::string sCell = r == 0 ? kHead[c]
                                : c == 0 ? kMethods[(r - 1) % 5]
                                         : std::to_string(10 + rng() % 90) + "." + std::to_string(rng() % 100);
            s += "<w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>" + Para(sCell, kCell, nullptr, true) +
                 "</w:tc>";
        }
        s += "</w:tr>";
    }
    return s + "</w:tbl>";
}

// ---- The thesis -------------------------------------------------------------

const char* const kChapterTitles[] = {"绪论", "相关理论与技术", "数据采集与预处理", "时空特征分析", "预测模型设计",
                                      "模型训练与优化", "实验设计", "结果分析", "系统实现", "应用案例",
                                      "对比研究", "总结与展望"};
const char* const kSectionTitles[] = {"研究背景", "问题描述", "方法概述", "关键步骤", "实验验证", "讨论"};

struct _tPlan {
    int nChapters = 0, nSections = 5, nSubs = 3;
    int nBodyPerSub = 0;
    int nTables = 0, nFigures = 0;
};

// About 10 body paragraphs, half a table and a third of a figure per page.
_tPlan PlanFor(int nPages)
{
    _tPlan plan;
    plan.nChapters = std::max(2, std::min(12, nPages / 25));
    int nSubs = plan.nChapters * plan.nSections * plan.nSubs;
    plan.nBodyPerSub = std::max(1, nPages * 10 / nSubs);
    plan.nTables = nPages / 2;
    plan.nFigures = nPages / 3;
    return plan;
}

struct _tHeading {
    int nLevel;
    std::string sText;
};

std::vector<_tHeading> Headings(const _tPlan& plan)
{
    std::vector<_tHeading> vec;
    for (int c = 1; c <= plan.nChapters; ++c) {
        std::string sC = std::to_string(c);
        vec.push_back({1, "第" + sC + "章 " + kChapterTitles[(c - 1) % 12]});
        for (int s = 1; s <= plan.nSections; ++s) {
            std::string sS = sC + "." + std::to_string(s);
            vec.push_back({2, sS + " " + kSectionTitles[(s - 1) % 6]});
            for (int u = 1; u <= plan.nSubs; ++u)
                vec.push_back({3, sS + "." + std::to_string(u) + " 要点" + std::to_string(u)});
        }
    }
    return vec;
}

std::string Contents(const std::vector<_tHeading>& vecHeadings, int nPages)
{
    std::string s = Para("目录", kH1, nullptr, true);
    for (size_t i = 0; i < vecHeadings.size(); ++i) {
        const char* sStyle = vecHeadings[i].nLevel == 1 ? "TOC1" : vecHeadings[i].nLevel == 2 ? "TOC2" : "TOC3";
        int nPage = 1 + static_cast<int>(i * static_cast<size_t>(nPages) / vecHeadings.size());
        s += Para(vecHeadings[i].sText + "\t" + std::to_string(nPage), kBody, sStyle);
    }
    return s;
}

std::string FrontMatter()
{
    return Para("基于多源数据的城市交通流量预测方法研究", kTitle, nullptr, true) + Para("摘要", kH1, nullptr, true) +
           Para("城市交通流量预测是智能交通系统的基础。本文综合利用检测器、浮动车和天气数据，提出一种时空图网络"
                "预测方法，并在真实路网数据上进行了验证。",
                kBody) +
           Para("关键词：交通流量；时空预测；图神经网络", kBody) + Para("Abstract", {"Times New Roman", 32, 360}, nullptr, true) +
           Para("Traffic flow prediction underlies intelligent transport systems. This thesis combines detector, "
                "probe vehicle and weather data in a spatio-temporal graph network.",
                kEnglish) +
           Para("Key words: traffic flow; prediction; graph network", kEnglish);
}

// Writes one chapter. Tables and figures spread evenly over the sections of
// the thesis: nTablesDone and nFiguresDone count those written so far.
std::string Chapter(int c, const _tPlan& plan, std::mt19937& rng, int& nTablesDone, int& nFiguresDone)
{
    std::string sC = std::to_string(c), s;
    s += Para("第" + sC + "章 " + kChapterTitles[(c - 1) % 12], kH1, "Heading1", true);
    s += Para(BodyText(rng), kBody);
    int nTable = 0, nFigure = 0;
    const int nAllSections = plan.nChapters * plan.nSections;
    for (int sec = 1; sec <= plan.nSections; ++sec) {
        std::string sS = sC + "." + std::to_string(sec);
        s += Para(sS + " " + kSectionTitles[(sec - 1) % 6], kH2, "Heading2");
        for (int u = 1; u <= plan.nSubs; ++u) {
            s += Para(sS + "." + std::to_string(u) + " 要点" + std::to_string(u), kH3, "Heading3");
            for (int b = 0; b < plan.nBodyPerSub; ++b)
                s += Para(BodyText(rng), kBody);
        }
        s += Para("y = W x + b    (" + sC + "-" + std::to_string(sec) + ")", kBody, nullptr, true);
        int nSectionsDone = (c - 1) * plan.nSections + sec;
        for (; nTablesDone < plan.nTables * nSectionsDone / nAllSections; ++nTablesDone) {
            s += Para("各方法的结果见表" + sC + "-" + std::to_string(nTable + 1) + "。", kBody);
            s += Para("表" + sC + "-" + std::to_string(++nTable) + " 不同方法的预测误差", kCaption, nullptr, true);
            s += Table(rng);
        }
        for (; nFiguresDone < plan.nFigures * nSectionsDone / nAllSections; ++nFiguresDone) {
            s += Para("", kBody, nullptr, true, Picture(c * 100 + nFigure + 1));
            s += Para("图" + sC + "-" + std::to_string(++nFigure) + " 预测结果对比", kCaption, nullptr, true);
        }
    }
    return s;
}

std::string BackMatter(int nReferences)
{
    std::string s = Para("参考文献", kH1, nullptr, true);
    for (int i = 1; i <= nReferences; ++i) {
        if (i % 2)
            s += Para("[" + std::to_string(i) + "] 王明, 李华. 城市交通流量预测方法综述[J]. 交通运输工程学报, " +
                          std::to_string(2000 + i % 24) + ", " + std::to_string(10 + i % 12) + "(3): 45-52.",
                      kCaption);
        else
            s += Para("[" + std::to_string(i) + "] 张强. 交通系统建模与分析[M]. 北京: 人民交通出版社, " +
                          std::to_string(2000 + i % 24) + ".",
                      kCaption);
    }
    s += Para("致谢", kH1, nullptr, true);
    s += Para("感谢导师在论文写作过程中给予的悉心指导，感谢课题组同学在实验中提供的帮助。", kBody);
    return s;
}

std::string Document(int nPages, unsigned nSeed)
{
    std::mt19937 rng(nSeed);
    _tPlan plan = PlanFor(nPages);
    std::string sBody = FrontMatter() + Contents(Headings(plan), nPages);
    int nTablesDone = 0, nFiguresDone = 0;
    for (int c = 1; c <= plan.nChapters; ++c)
        sBody += Chapter(c, plan, rng, nTablesDone, nFiguresDone);
    sBody += BackMatter(std::max(10, nPages / 5));
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
           "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
           "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
           "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
           "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>" +
           sBody + "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rId20\"/></w:sectPr></w:body></w:document>";
}

std::string Styles()
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                    "<w:styles xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                    "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\"><w:name w:val=\"Normal\"/>"
                    "</w:style>";
    for (int n = 1; n <= 3; ++n) {
        std::string sN = std::to_string(n);
        s += "<w:style w:type=\"paragraph\" w:styleId=\"Heading" + sN + "\"><w:name w:val=\"heading " + sN +
             "\"/><w:basedOn w:val=\"Normal\"/><w:pPr><w:outlineLvl w:val=\"" + std::to_string(n - 1) +
             "\"/></w:pPr></w:style>";
        s += "<w:style w:type=\"paragraph\" w:styleId=\"TOC" + sN + "\"><w:name w:val=\"toc " + sN +
             "\"/><w:basedOn w:val=\"Normal\"/></w:style>";
    }
    return s + "</w:styles>";
}

// A 1x1 PNG for the pictures.
std::string TinyPng()
{
    static const unsigned char kPng[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
        0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
        0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01, 0x0D, 0x0A, 0x2D,
        0xB4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(kPng), sizeof(kPng));
}

bench::PackageItems Package(int nPages)
{
    const std::string sXml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
    const std::string sRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    const std::string sMain = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
    return {
        {"[Content_Types].xml",
         sXml + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                "<Override PartName=\"/word/document.xml\" ContentType=\"" + sMain + "document.main+xml\"/>"
                "<Override PartName=\"/word/styles.xml\" ContentType=\"" + sMain + "styles+xml\"/>"
                "<Override PartName=\"/word/header1.xml\" ContentType=\"" + sMain + "header+xml\"/></Types>"},
        {"_rels/.rels", sXml + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                               "<Relationship Id=\"rId1\" Type=\"" + sRelNs +
                            "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
        {"word/document.xml", Document(nPages, 20240611u + static_cast<unsigned>(nPages))},
        {"word/styles.xml", Styles()},
        {"word/header1.xml", sXml + "<w:hdr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" +
                                 Para("基于多源数据的城市交通流量预测方法研究", {"宋体", 18, 240}, nullptr, true) +
                                 "</w:hdr>"},
        {"word/_rels/document.xml.rels",
         sXml + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"" + sRelNs + "styles\" Target=\"styles.xml\"/>"
                "<Relationship Id=\"rId10\" Type=\"" + sRelNs + "image\" Target=\"media/image1.png\"/>"
                "<Relationship Id=\"rId20\" Type=\"" + sRelNs + "header\" Target=\"header1.xml\"/></Relationships>"},
        {"word/media/image1.png", TinyPng()},
    };
}

struct _tOptions {
    std::vector<int> vecPages = {50, 300};
    int nRuns = 5;
    int nFormat = VESKAR_FORMAT_XML;
    std::string sThesis = std::string(VESKAR_BENCH_CORPUS_DIR) + "/szu-laiweijian/朱方平-毕设论文-20170517.docx";
    std::string sInitDir = VESKAR_BENCH_INIT_DIR;
    std::string sKeep;
};

// ---- Measuring ----------------------------------------------------------------

const char* const kStages[] = {"parse", "rule_scan", "audit", "format", "marks", "output", "total"};

struct _tRun {
    std::map<std::string, double> mapStages;
    double fWallMs = 0;
    size_t nFindings = 0;
};

// One check; the findings are counted from the result the library keeps
// (loaded back from the result file when that is XML).
bool CheckOnce(const std::string& sFile, int nFormat, _tRun& run)
{
    auto tStart = std::chrono::steady_clock::now();
    const char* sOut = VESKAR_CheckReportF(sFile.c_str(), "", "", 7, nFormat, false, 0);
    run.fWallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tStart).count();
    Json::Value timing;
    if (!sOut) {
        std::fprintf(stderr, "cannot check %s: %s\n", sFile.c_str(), VESKAR_GetLastErrorMsg());
        return false;
    }
    const char* sTiming = VESKAR_GetCheckTiming(0);
    if (!sTiming || !Json::Reader().parse(sTiming, timing))
        return false;
    for (const char* sStage : kStages)
        run.mapStages[sStage] = timing[sStage].asDouble();
    Json::Value result;
    const char* sResult = nFormat == VESKAR_FORMAT_JSON ? sOut : VESKAR_LoadCheckResult(sOut, 0);
    if (sResult && Json::Reader().parse(sResult, result))
        run.nFindings = result["Errors"].size();
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

size_t CountParagraphs(const std::string& sFile)
{
    const char* sJson = VESKAR_ParseFile(sFile.c_str(), 7, VESKAR_FORMAT_JSON);
    Json::Value summary;
    if (!sJson || !Json::Reader().parse(sJson, summary))
        return 0;
    return summary["paragraphs"].asUInt() + summary["cell_paragraphs"].asUInt();
}

bool Measure(const std::string& sName, const std::string& sFile, const _tOptions& options)
{
    std::vector<_tRun> vecRuns(static_cast<size_t>(options.nRuns));
    for (_tRun& run : vecRuns)
        if (!CheckOnce(sFile, options.nFormat, run))
            return false;
    std::printf("%s: %ju bytes, %zu paragraphs with table cells, %zu findings, %s output\n", sName.c_str(),
                static_cast<uintmax_t>(std::filesystem::file_size(sFile)), CountParagraphs(sFile),
                vecRuns[0].nFindings, options.nFormat == VESKAR_FORMAT_JSON ? "JSON" : "XML");
    std::printf("  %-10s %10s %10s %14s\n", "stage (ms)", "first run", "second run", "median later");
    for (const char* sStage : kStages) {
        std::vector<double> vecLater;
        for (size_t i = 1; i < vecRuns.size(); ++i)
            vecLater.push_back(vecRuns[i].mapStages[sStage]);
        std::printf("  %-10s %10.1f %10.1f %14.1f\n", sStage, vecRuns[0].mapStages[sStage],
                    vecRuns.size() > 1 ? vecRuns[1].mapStages[sStage] : 0.0, Median(vecLater));
    }
    std::vector<double> vecWall;
    for (size_t i = 1; i < vecRuns.size(); ++i)
        vecWall.push_back(vecRuns[i].fWallMs);
    std::printf("  %-10s %10.1f %10.1f %14.1f\n\n", "call", vecRuns[0].fWallMs,
                vecRuns.size() > 1 ? vecRuns[1].fWallMs : 0.0, Median(vecWall));
    return true;
}

bool ParseOptions(int argc, char** argv, _tOptions& options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string sName = argv[i], sValue = argv[i + 1];
        if (sName == "--pages") {
            options.vecPages.clear();
            for (size_t nPos = 0; sValue != "none" && nPos < sValue.size(); nPos = sValue.find(',', nPos) + 1) {
                options.vecPages.push_back(std::atoi(sValue.c_str() + nPos));
                if (sValue.find(',', nPos) == std::string::npos)
                    break;
            }
        } else if (sName == "--format") {
            options.nFormat = sValue == "json" ? VESKAR_FORMAT_JSON : VESKAR_FORMAT_XML;
            if (sValue != "json" && sValue != "xml")
                return false;
        } else if (sName == "--runs") {
            options.nRuns = std::max(2, std::atoi(sValue.c_str()));
        } else if (sName == "--thesis") {
            options.sThesis = sValue == "none" ? "" : sValue;
        } else if (sName == "--data") {
            options.sInitDir = sValue;
        } else if (sName == "--keep") {
            options.sKeep = sValue;
        } else {
            return false;
        }
    }
    return argc % 2 == 1;
}

int Run(const _tOptions& options, const std::string& sDir)
{
    for (int nPages : options.vecPages) {
        if (nPages < 1 || nPages > 5000)
            return 2;
        std::string sName = "thesis_" + std::to_string(nPages) + "p.docx";
        bench::PackageItems items = Package(nPages);
        if (!bench::WritePackage(sDir + "/" + sName, items) ||
            (!options.sKeep.empty() && !bench::WritePackage(options.sKeep + "/" + sName, items))) {
            std::fprintf(stderr, "cannot write %s\n", sName.c_str());
            return 1;
        }
        if (!Measure("generated thesis of " + std::to_string(nPages) + " pages", sDir + "/" + sName, options))
            return 1;
    }
    if (options.sThesis.empty())
        return 0;
    std::error_code error;
    std::filesystem::copy_file(options.sThesis, sDir + "/corpus.docx", error);
    if (error) {
        std::fprintf(stderr, "cannot copy %s\n", options.sThesis.c_str());
        return 1;
    }
    return Measure("corpus thesis " + options.sThesis, sDir + "/corpus.docx", options) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    _tOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: LongThesisBench [--pages N[,N...]|none] [--runs N] [--thesis FILE|none] "
                             "[--format xml|json] [--data INITDIR] [--keep DIR]\n");
        return 2;
    }
    return bench::RunWithLibrary("veskar-long", options.sInitDir,
                                 [&](const std::string& sDir) { return Run(options, sDir); });
}

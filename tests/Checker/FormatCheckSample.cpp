// The sample document of the format-check tests.
#include "FormatCheckSample.h"

#include <vector>

#include "support/DocxBuilder.h"

namespace {

const char* const kHei = "黑体";
const char* const kSong = "宋体";

std::string StyledPara(const std::string& sText, const std::string& sFont, int nSize, int nLine,
                       int nOutline = -1, const char* sRule = "auto")
{
    std::string sPPr = nOutline >= 0 ? "<w:outlineLvl w:val=\"" + std::to_string(nOutline) + "\"/>" : "";
    sPPr += "<w:spacing w:line=\"" + std::to_string(nLine) + "\" w:lineRule=\"" + sRule + "\"/>";
    std::string sRPr = "<w:rFonts w:eastAsia=\"" + sFont + "\"/><w:sz w:val=\"" + std::to_string(nSize) + "\"/>";
    return "<w:p><w:pPr>" + sPPr + "</w:pPr>" + CDocxBuilder::Run(sText, sRPr) + "</w:p>";
}

std::string Chapter(const std::string& sText, const std::string& sFont = kHei)
{
    return StyledPara(sText, sFont, 32, 360, 0);
}

std::string Section(const std::string& sText)
{
    return StyledPara(sText, kHei, 28, 360, 1);
}

std::string Body(const std::string& sText, int nSize = 24, int nLine = 360)
{
    return StyledPara(sText, kSong, nSize, nLine);
}

std::string Caption(const std::string& sText)
{
    return StyledPara(sText, kSong, 21, 360);
}

std::string Picture()
{
    return "<w:p><w:r><w:drawing><a:blip r:embed=\"rId5\"/></w:drawing></w:r></w:p>";
}

const char* const kChineseDigits[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};

std::string ChapterName(int n)
{
    std::string sNum = n < 10 ? kChineseDigits[n - 1] : "十" + std::string(n > 10 ? kChineseDigits[n - 11] : "");
    return "第" + sNum + "章 ";
}

// Further chapters for larger documents: sections, body text and a figure.
std::string MoreChapter(int n)
{
    std::string sN = std::to_string(n);
    std::string sXml = Chapter(ChapterName(n) + "扩展研究");
    for (int s = 1; s <= 3; ++s) {
        sXml += Section(sN + "." + std::to_string(s) + " 扩展的小节");
        sXml += Body("本节的正文内容用于扩展文档的长度，以便测量检查的耗时。");
        sXml += Body("第二段正文同样如此。");
    }
    sXml += Picture() + Caption("图" + sN + "-1 扩展结构");
    return sXml;
}

}  // namespace

std::string SampleBody(const _tSampleSeed& seed)
{
    std::string sXml;
    if (seed.bCoverLines) {
        sXml += StyledPara("某某大学硕士学位论文", kHei, 32, 480);
        sXml += StyledPara("专　　业：计算机科学与技术", kHei, 28, 480);
        // The cover's own table of author and supervisor, without a caption.
        sXml += CDocxBuilder::Table({{"作者", "李明"}, {"导师", "王华"}});
    }
    sXml += Chapter("第一章 绪论");
    sXml += Body("本章介绍研究的背景与主要内容。");
    if (seed.bLatinBody)
        sXml += StyledPara("Deep learning methods are widely used.", "Times New Roman", 24, 360);
    sXml += Section("1.1 研究背景");
    sXml += Body("研究背景的正文。");
    sXml += Section("1.2 研究内容");
    sXml += Body("研究内容的正文。");
    if (seed.bDuplicateHeading) {
        sXml += Section("1.2 研究方法");
        sXml += Body("研究方法的正文。");
    }
    sXml += Chapter("第二章 方法", seed.bSongTitle ? kSong : seed.bEnglishNames ? "SimHei" : kHei);
    sXml += Body("本章给出方法。", seed.bSmallBody ? 21 : 24);
    sXml += Section("2.1 模型");
    if (seed.nExactLine > 0)
        sXml += StyledPara("模型的正文。", kSong, 24, seed.nExactLine, -1, "exact");
    else
        sXml += Body("模型的正文。", 24, seed.bSingleSpacing ? 240 : 360);
    sXml += Picture() + Caption("图2-1 模型结构");
    sXml += Body("第一幅图之后的正文。");
    sXml += Picture() + Caption("图2-2 模型流程");
    if (!seed.bMissingFigure) {
        sXml += Body("第二幅图之后的正文。");
        sXml += Picture() + Caption("图2-3 模型细节");
    }
    sXml += Body("第三幅图之后的正文。");
    sXml += Picture() + Caption("图2-4 模型结果");
    sXml += Section(seed.bSkipSection ? "2.3 数据" : "2.2 数据");
    sXml += Body("数据的来源如下。");
    if (!seed.bTableNoCaption)
        sXml += Caption("表2-1 数据统计");
    sXml += CDocxBuilder::Table({{"项目", "数量"}, {"样本", "12"}});
    sXml += Body("表格之后的正文。");
    for (int n = 3; n <= seed.nChapters; ++n)
        sXml += MoreChapter(n);
    if (!seed.bNoAcknowledge) {
        sXml += Chapter(seed.bSpacedAcknowledge ? "致　谢" : "致谢");
        sXml += Body("感谢导师的指导。");
    }
    return sXml;
}

bool ParseSample(CDocxParser& parser, const CTempDir& dir, const std::string& sName, const _tSampleSeed& seed,
                 int nType)
{
    CDocxBuilder builder;
    builder.Body(SampleBody(seed))
        .Header(1, StyledPara("某某大学硕士学位论文", kSong, 18, 240))
        .Footer(1, StyledPara("第1页", kSong, 18, 240))
        .Relationships("<Relationship Id=\"rId5\" Type=\"http://schemas.openxmlformats.org/"
                       "officeDocument/2006/relationships/image\" Target=\"media/a.png\"/>");
    std::string sPath = dir.File(sName);
    return builder.Write(sPath) && parser.ImportFile(sPath.c_str(), "", nType, 0) == 1;
}

std::unique_ptr<CDocFormat> LearnSampleTemplate(const CTempDir& dir)
{
    CDocxParser parser;
    if (!ParseSample(parser, dir, "template.docx", _tSampleSeed()))
        return nullptr;
    std::vector<_tParagraph> vecParagraphs;
    parser.GetAllParagraph(vecParagraphs);
    auto pFormat = std::make_unique<CDocFormat>();
    pFormat->Learn(vecParagraphs);
    pFormat->AddRequired("致谢");
    return pFormat;
}

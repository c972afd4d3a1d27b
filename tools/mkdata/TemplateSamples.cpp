// Default template samples: per report type a format table and a short text
// of our own, laid out as a small .docx.
#include "TemplateSamples.h"

#include <cstdio>
#include <utility>

#include "Reviser/ZipWriter.h"

namespace {

// Font, size in half-points, line spacing (w:line; 240 single, 360 one and
// a half; with bExact a fixed height in twips).
struct _tLook {
    const char* sFont;
    int nSize;
    int nLine;
    bool bExact = false;
};

struct _tSampleLooks {
    int nType;
    const char* sName;
    const char* sTitle;
    _tLook title, h1, h2, h3, body, caption, cell, header;
    // Heading numbers: 0 "第1章", 1 "1", 2 "第一章", 3 "一、" with "（一）" below.
    int nNumbering;
    bool bPaperParts;  // abstracts, keywords, references, acknowledgement
    std::vector<const char*> vecRequired;
    std::vector<std::pair<const char*, std::vector<const char*>>> vecChapters;  // title, section titles
};

const char* const kSong = "宋体";
const char* const kHei = "黑体";
const char* const kFang = "仿宋_GB2312";
const char* const kKai = "楷体_GB2312";
const char* const kTimes = "Times New Roman";
constexpr int kSafetyType = 4;
constexpr int kThesisType = 7;

const std::vector<_tSampleLooks>& AllSampleLooks()
{
    static const std::vector<_tSampleLooks> s_looks = {
        {1, "technical", "污水处理厂提标改造工程技术报告",
         {kHei, 44, 360}, {kHei, 32, 360}, {kHei, 28, 360}, {kHei, 24, 360}, {kSong, 24, 360},
         {kSong, 21, 240}, {kSong, 21, 240}, {kSong, 18, 240}, 1, false,
         {"工程概况", "结论与建议"},
         {{"工程概况", {"项目背景", "设计规模"}}, {"工艺方案", {"方案比选", "主要设备"}},
          {"结论与建议", {"结论", "建议"}}}},
        {2, "research", "关于县域数字经济发展情况的调研报告",
         {"方正小标宋简体", 44, 560, true}, {kHei, 32, 560, true}, {kKai, 32, 560, true},
         {kFang, 32, 560, true}, {kFang, 32, 560, true}, {kFang, 24, 360}, {kFang, 24, 240},
         {kSong, 18, 240}, 3, false,
         {"基本情况", "对策建议"},
         {{"基本情况", {"产业规模", "基础设施"}}, {"存在的问题", {"人才短缺", "融资困难"}},
          {"对策建议", {"完善政策", "培育主体"}}}},
        {4, "safety", "储罐区安全现状评价报告",
         {kHei, 44, 360}, {kHei, 32, 360}, {kHei, 28, 360}, {kSong, 24, 360}, {kSong, 24, 360},
         {kSong, 21, 240}, {kSong, 21, 240}, {kSong, 18, 240}, 2, false,
         {"评价依据", "危险有害因素辨识", "评价结论"},
         {{"评价依据", {"法律法规", "标准规范"}}, {"危险有害因素辨识", {"物料危险性", "重大危险源辨识"}},
          {"评价结论", {"综合结论", "安全对策措施"}}}},
        {5, "general", "社区公共服务设施建设工作报告",
         {kHei, 36, 360}, {kHei, 28, 360}, {kHei, 24, 360}, {kSong, 24, 360}, {kSong, 24, 360},
         {kSong, 21, 240}, {kSong, 21, 240}, {kSong, 18, 240}, 1, false,
         {"工作目标"},
         {{"工作目标", {"总体目标", "年度任务"}}, {"完成情况", {"设施建设", "运营管理"}}}},
        {6, "paper", "一种改进的轻量级图像去噪网络",
         {kHei, 36, 240}, {kHei, 28, 240}, {kHei, 24, 240}, {kHei, 21, 240}, {kSong, 21, 240},
         {kSong, 18, 240}, {kSong, 18, 240}, {kSong, 18, 240}, 1, true,
         {"摘要", "关键词", "参考文献"},
         {{"引言", {"研究现状", "本文工作"}}, {"方法", {"网络结构", "损失函数"}},
          {"实验", {"数据集", "结果分析"}}}},
        {7, "thesis", "基于多源数据的城市交通流量预测方法研究",
         {kHei, 44, 360}, {kHei, 32, 360}, {kHei, 28, 360}, {kHei, 24, 360}, {kSong, 24, 360},
         {kSong, 21, 240}, {kSong, 21, 240}, {kSong, 18, 240}, 0, true,
         {"摘要", "Abstract", "参考文献", "致谢"},
         {{"绪论", {"研究背景与意义", "国内外研究现状"}}, {"相关理论与技术", {"时间序列模型", "图神经网络"}},
          {"总结与展望", {"全文总结", "研究展望"}}}},
    };
    return s_looks;
}

const char* const kDigits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};

std::string Escape(const std::string& sText)
{
    std::string sOut;
    for (char c : sText) {
        if (c == '&')
            sOut += "&amp;";
        else if (c == '<')
            sOut += "&lt;";
        else if (c == '>')
            sOut += "&gt;";
        else
            sOut += c;
    }
    return sOut;
}

std::string RunProps(const _tLook& look)
{
    std::string sAscii = look.sFont == std::string(kTimes) ? kTimes : "Times New Roman";
    return "<w:rPr><w:rFonts w:ascii=\"" + sAscii + "\" w:hAnsi=\"" + sAscii + "\" w:eastAsia=\"" + look.sFont +
           "\"/><w:sz w:val=\"" + std::to_string(look.nSize) + "\"/><w:szCs w:val=\"" + std::to_string(look.nSize) +
           "\"/></w:rPr>";
}

std::string Para(const std::string& sText, const _tLook& look, const char* sStyle = nullptr,
                 const char* sAlign = nullptr, const std::string& sExtraRun = "")
{
    std::string s = "<w:p><w:pPr>";
    if (sStyle)
        s += std::string("<w:pStyle w:val=\"") + sStyle + "\"/>";
    s += "<w:spacing w:line=\"" + std::to_string(look.nLine) + "\" w:lineRule=\"" +
         (look.bExact ? "exact" : "auto") + "\"/>";
    if (sAlign)
        s += std::string("<w:jc w:val=\"") + sAlign + "\"/>";
    s += RunProps(look) + "</w:pPr>";
    if (!sText.empty())
        s += "<w:r>" + RunProps(look) + "<w:t xml:space=\"preserve\">" + Escape(sText) + "</w:t></w:r>";
    return s + sExtraRun + "</w:p>";
}

std::string Picture()
{
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"914400\" cy=\"457200\"/><wp:docPr id=\"1\" name=\"图片 1\"/>"
           "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic><pic:blipFill><a:blip r:embed=\"rId10\"/></pic:blipFill></pic:pic></a:graphicData></a:graphic>"
           "</wp:inline></w:drawing></w:r>";
}

std::string Table(const _tLook& cell, const std::vector<std::vector<const char*>>& vecRows)
{
    std::string s = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>";
    for (const auto& row : vecRows) {
        s += "<w:tr>";
        for (const char* sCell : row)
            s += "<w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr>" + Para(sCell, cell, nullptr, "center") +
                 "</w:tc>";
        s += "</w:tr>";
    }
    return s + "</w:tbl>";
}

std::string Table(const _tLook& cell)
{
    return Table(cell, {{"项目", "数值", "说明"}, {"甲", "12", "第一组"}, {"乙", "15", "第二组"}});
}

// The cover's author, major and supervisor, in a table as most schools lay
// them out. Its cells look like the other tables' cells, so the template
// holds no cover to a look of ours.
std::string CoverTable(const _tLook& cell)
{
    return Table(cell, {{"作者", "李明"}, {"专业", "交通运输工程"}, {"指导教师", "王华"}});
}

std::string HeadingNumber(int nNumbering, int nLevel, int nChapter, int nSection, int nSub)
{
    std::string sCh = std::to_string(nChapter), sSec = std::to_string(nSection), sSub = std::to_string(nSub);
    if (nNumbering == 3) {
        if (nLevel == 1)
            return std::string(kDigits[nChapter]) + "、";
        if (nLevel == 2)
            return std::string("（") + kDigits[nSection] + "）";
        return sSub + "．";
    }
    if (nLevel == 1) {
        if (nNumbering == 0)
            return "第" + sCh + "章 ";
        if (nNumbering == 2)
            return std::string("第") + kDigits[nChapter] + "章 ";
        return sCh + " ";
    }
    if (nLevel == 2)
        return sCh + "." + sSec + " ";
    return sCh + "." + sSec + "." + sSub + " ";
}

// Captions number within the chapter: 图1-1, 表1-1.
std::string CaptionNumber(int nNumbering, int nChapter)
{
    return nNumbering == 3 ? "1" : std::to_string(nChapter) + "-1";
}

std::string FrontMatter(const _tSampleLooks& looks)
{
    _tLook english {kTimes, looks.body.nSize, looks.body.nLine};
    _tLook englishCaption {kTimes, looks.h1.nSize, looks.h1.nLine};
    std::string s;
    s += Para("摘要", looks.h1, nullptr, "center");
    s += Para("本文围绕" + std::string(looks.sTitle) + "展开，提出了一种结构简单、计算量小的方法，"
              "并在公开数据上验证了其有效性。实验表明，该方法在精度和效率之间取得了较好的平衡。",
              looks.body);
    s += Para("关键词：模型；预测；实验验证", looks.body);
    s += Para("Abstract", englishCaption, nullptr, "center");
    s += Para("This work studies a compact method for the stated problem and evaluates it on public data. "
              "The results show a good balance between accuracy and cost.",
              english);
    s += Para("Key words: model; prediction; evaluation", english);
    return s;
}

// One contents line: the heading, a tab, its page, and the field a word
// processor writes behind it.
std::string ContentsLine(const std::string& sHeading, int nPage, const _tLook& look)
{
    return Para(sHeading + "\t" + std::to_string(nPage), look, nullptr, nullptr,
                "<w:r><w:instrText xml:space=\"preserve\"> PAGEREF _Toc" + std::to_string(nPage) +
                    " \\h </w:instrText></w:r>");
}

// A thesis opens with its contents: a line per heading of the chapters.
std::string Contents(const _tSampleLooks& looks)
{
    // The caption in the body's look: a caption of the chapters' look at
    // body level would teach the template that body text may look so.
    std::string s = Para("目录", looks.body, nullptr, "center");
    int nChapter = 0, nPage = 1;
    for (const auto& [sChapter, vecSections] : looks.vecChapters) {
        ++nChapter;
        s += ContentsLine(HeadingNumber(looks.nNumbering, 1, nChapter, 0, 0) + sChapter, nPage++, looks.body);
        int nSection = 0;
        for (const char* sSection : vecSections) {
            ++nSection;
            s += ContentsLine(HeadingNumber(looks.nNumbering, 2, nChapter, nSection, 0) + sSection, nPage, looks.body);
            for (int nSub = 1; nSection == 1 && nSub <= 2; ++nSub)
                s += ContentsLine(HeadingNumber(looks.nNumbering, 3, nChapter, nSection, nSub) + "要点" + kDigits[nSub],
                                  nPage, looks.body);
        }
    }
    return s;
}

std::string Chapters(const _tSampleLooks& looks)
{
    std::string s;
    int nChapter = 0;
    for (const auto& [sChapter, vecSections] : looks.vecChapters) {
        ++nChapter;
        s += Para(HeadingNumber(looks.nNumbering, 1, nChapter, 0, 0) + sChapter, looks.h1, "Heading1",
                  looks.nNumbering == 3 ? nullptr : "center");
        s += Para("本章说明" + std::string(sChapter) + "的主要内容，内容按节展开，各节之间相互衔接。", looks.body);
        int nSection = 0;
        for (const char* sSection : vecSections) {
            ++nSection;
            s += Para(HeadingNumber(looks.nNumbering, 2, nChapter, nSection, 0) + sSection, looks.h2, "Heading2");
            s += Para("本节介绍" + std::string(sSection) + "的有关情况。相关数据来自现场调查和资料整理，"
                      "经过核对后采用。",
                      looks.body);
            if (nSection != 1)
                continue;
            for (int nSub = 1; nSub <= 2; ++nSub) {
                s += Para(HeadingNumber(looks.nNumbering, 3, nChapter, nSection, nSub) + "要点" + kDigits[nSub],
                          looks.h3, "Heading3");
                s += Para("这里给出第" + std::string(kDigits[nSub]) + "个要点的说明，并列出需要注意的事项。",
                          looks.body);
            }
        }
        if (nChapter == 1) {
            s += Para("主要数据见表" + CaptionNumber(looks.nNumbering, nChapter) + "。", looks.body);
            s += Para("表" + CaptionNumber(looks.nNumbering, nChapter) + " 基本数据", looks.caption, nullptr, "center");
            s += Table(looks.cell);
            s += Para("", looks.body, nullptr, "center", Picture());
            s += Para("图" + CaptionNumber(looks.nNumbering, nChapter) + " 总体框架", looks.caption, nullptr, "center");
        }
    }
    return s;
}

std::string BackMatter(const _tSampleLooks& looks)
{
    std::string s;
    s += Para("参考文献", looks.h1, nullptr, "center");
    s += Para("[1] 王明, 李华. 一种数据处理方法[J]. 应用技术学报, 2019, 21(3): 45-52.", looks.caption);
    s += Para("[2] 张强. 系统建模与分析[M]. 北京: 科学技术出版社, 2018.", looks.caption);
    {
        s += Para("致谢", looks.h1, nullptr, "center");
        s += Para("感谢导师在论文写作过程中给予的指导，感谢同学们在实验中提供的帮助。", looks.body);
    }
    return s;
}

std::string Document(const _tSampleLooks& looks)
{
    std::string sBody = Para(looks.sTitle, looks.title, nullptr, "center");
    // The parts a document of this type must hold, marked where a reader of
    // the sample sees the instructions: under the title.
    for (const char* sRequired : looks.vecRequired)
        sBody += Para(std::string("必备内容：KKK") + sRequired + "GGG", looks.body);
    if (looks.nType == kSafetyType) {
        // A safety report names who assessed and for whom on its cover.
        sBody += Para("评价单位：某安全技术咨询有限公司", looks.body);
        sBody += Para("委托单位：某石化储运有限公司", looks.body);
    }
    if (looks.bPaperParts)
        sBody += CoverTable(looks.cell) + FrontMatter(looks);
    if (looks.nType == kThesisType)
        sBody += Contents(looks);
    sBody += Chapters(looks);
    if (looks.bPaperParts)
        sBody += BackMatter(looks);
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
    for (int n = 1; n <= 3; ++n)
        s += "<w:style w:type=\"paragraph\" w:styleId=\"Heading" + std::to_string(n) + "\"><w:name w:val=\"heading " +
             std::to_string(n) + "\"/><w:basedOn w:val=\"Normal\"/><w:pPr><w:outlineLvl w:val=\"" +
             std::to_string(n - 1) + "\"/></w:pPr></w:style>";
    return s + "</w:styles>";
}

std::string Header(const _tSampleLooks& looks)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
           "<w:hdr xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">" +
           Para(looks.sTitle, looks.header, nullptr, "center") + "</w:hdr>";
}

// A 1x1 PNG, so the sample's picture opens in a word processor too.
std::string TinyPng()
{
    static const unsigned char kPng[] = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
        0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0x1F, 0x15, 0xC4, 0x89, 0x00, 0x00, 0x00,
        0x0D, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x00, 0x01, 0x00, 0x00, 0x05, 0x00, 0x01, 0x0D, 0x0A, 0x2D,
        0xB4, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    return std::string(reinterpret_cast<const char*>(kPng), sizeof(kPng));
}

std::vector<std::pair<std::string, std::string>> Parts(const _tSampleLooks& looks)
{
    const std::string sXml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";
    const std::string sRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    return {
        {"[Content_Types].xml",
         sXml + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
                "<Override PartName=\"/word/styles.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.wordprocessingml.styles+xml\"/>"
                "<Override PartName=\"/word/header1.xml\" ContentType=\"application/"
                "vnd.openxmlformats-officedocument.wordprocessingml.header+xml\"/></Types>"},
        {"_rels/.rels", sXml + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                               "<Relationship Id=\"rId1\" Type=\"" + sRelNs +
                            "officeDocument\" Target=\"word/document.xml\"/></Relationships>"},
        {"word/document.xml", Document(looks)},
        {"word/styles.xml", Styles()},
        {"word/header1.xml", Header(looks)},
        {"word/_rels/document.xml.rels",
         sXml + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"" + sRelNs + "styles\" Target=\"styles.xml\"/>"
                "<Relationship Id=\"rId10\" Type=\"" + sRelNs + "image\" Target=\"media/image1.png\"/>"
                "<Relationship Id=\"rId20\" Type=\"" + sRelNs + "header\" Target=\"header1.xml\"/></Relationships>"},
        {"word/media/image1.png", TinyPng()},
    };
}

bool WriteZip(const std::string& sPath, const std::vector<std::pair<std::string, std::string>>& vecParts)
{
    CZipWriter zip;
    bool bOk = zip.Open(sPath);
    for (const auto& [sName, sData] : vecParts)
        bOk = bOk && zip.Add(sName, sData);
    return zip.Close() && bOk;
}

}  // namespace

const std::vector<int>& CTemplateSamples::Types()
{
    static const std::vector<int> s_types = [] {
        std::vector<int> vecTypes;
        for (const _tSampleLooks& looks : AllSampleLooks())
            vecTypes.push_back(looks.nType);
        return vecTypes;
    }();
    return s_types;
}

std::string CTemplateSamples::Name(int nType)
{
    for (const _tSampleLooks& looks : AllSampleLooks())
        if (looks.nType == nType)
            return looks.sName;
    return "";
}

bool CTemplateSamples::Write(int nType, const std::string& sPath)
{
    for (const _tSampleLooks& looks : AllSampleLooks())
        if (looks.nType == nType)
            return WriteZip(sPath, Parts(looks));
    return false;
}

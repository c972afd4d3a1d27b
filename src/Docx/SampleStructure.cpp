// Template samples: parsing in a private folder and placing paper parts.
#include "Docx/SampleStructure.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Docx/DocxPackage.h"
#include "Docx/DocxParser.h"
#include "Docx/PaperParser.h"
#include "Utility/FileUtility.h"

namespace {

constexpr uint64_t kMaxSampleBytes = UINT64_C(256) << 20;
constexpr size_t kMaxCaptionBytes = 90;

struct _tCaptionRule {
    const char* sKey;
    const char* sWords[4];
    bool bPrefix;  // the caption begins the line (keywords, cover lines)
};

const _tCaptionRule kCaptionRules[] = {
    {"paper_abstract_cn", {"摘要", "中文摘要", "内容摘要", nullptr}, false},
    {"paper_keyword_cn", {"关键词", "关键字", nullptr, nullptr}, true},
    {"paper_abstract_en", {"abstract", nullptr, nullptr, nullptr}, false},
    {"paper_keyword_en", {"keywords", "keyword", nullptr, nullptr}, true},
    {"paper_reference_caption", {"参考文献", "主要参考文献", nullptr, nullptr}, false},
    {"paper_acknowledge_caption", {"致谢", "谢辞", "致谢词", nullptr}, false},
    {"paper_zzxm_val", {"作者姓名", "作者", "学生姓名", nullptr}, true},
    {"paper_zy_val", {"专业", "专业名称", "学科专业", nullptr}, true},
    {"paper_daoshi_val", {"指导教师", "导师", "指导老师", nullptr}, true},
};

bool Matches(const _tCaptionRule& rule, const std::string& sCompact)
{
    for (const char* sWord : rule.sWords) {
        if (!sWord)
            break;
        size_t nLen = std::strlen(sWord);
        if (rule.bPrefix ? sCompact.compare(0, nLen, sWord) == 0 && sCompact.size() > nLen : sCompact == sWord)
            return true;
    }
    return false;
}

void AddIfMatches(const _tCaptionRule& rule, const _tParagraph& para, std::vector<_tKeyVal>& vecOut)
{
    if (para.text.empty() || para.text.size() > kMaxCaptionBytes || para.IsPlaceholder())
        return;
    if (Matches(rule, CSampleStructure::CompactCaption(para.text)))
        vecOut.emplace_back(-1, para.text, para.id, 0, para.text, "");
}

// A private folder holding a copy of the sample: the parser unpacks beside
// its input, and a sample may stand in a folder we must not write to.
std::string CopyToPrivateFolder(const std::string& sDocxPath, std::string& sFolder)
{
    std::string sData;
    if (!ReadWholeFile(sDocxPath, sData, kMaxSampleBytes))
        return "";
    std::error_code ec;
    std::string sTemplate = (std::filesystem::temp_directory_path(ec) / "veskar_sample_XXXXXX").string();
    if (ec || !mkdtemp(sTemplate.data()))
        return "";
    sFolder = sTemplate;
    std::string sCopy = JoinPath(sFolder, "sample.docx");
    return WriteFileAtomic(sCopy, sData) ? sCopy : "";
}

}  // namespace

std::string CSampleStructure::CompactCaption(const std::string& sText)
{
    std::string sOut;
    for (size_t i = 0; i < sText.size();) {
        unsigned char c = static_cast<unsigned char>(sText[i]);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
        } else if (sText.compare(i, 3, "\xE3\x80\x80") == 0) {  // ideographic space
            i += 3;
        } else {
            sOut += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
            ++i;
        }
    }
    for (const char* sColon : {":", "\xEF\xBC\x9A"}) {  // : ：
        size_t nLen = std::strlen(sColon);
        if (sOut.size() >= nLen && sOut.compare(sOut.size() - nLen, nLen, sColon) == 0)
            sOut.resize(sOut.size() - nLen);
    }
    return sOut;
}

std::vector<_tKeyVal> CSampleStructure::FindPart(const CDocxParser& docx, const char* sKeyName)
{
    std::vector<_tKeyVal> vecOut;
    for (const _tCaptionRule& rule : kCaptionRules) {
        if (std::strcmp(rule.sKey, sKeyName) != 0)
            continue;
        for (const _tParagraph& para : docx.Model().Paragraphs())
            AddIfMatches(rule, para, vecOut);
        for (const _tTable& table : docx.Model().Tables())
            for (const _tRow& row : table.rows)
                for (const _tCell& cell : row)
                    for (const _tParagraph& para : cell)
                        AddIfMatches(rule, para, vecOut);
    }
    return vecOut;
}

void CSampleStructure::Recognise(CDocxParser& docx)
{
    CPaperParser parser(docx, [&docx](const char* sKeyName) { return FindPart(docx, sKeyName); });
    parser.PaperParse();
}

bool CSampleStructure::ReadSample(const std::string& sDocxPath, int nReportType, std::vector<_tParagraph>& vecOut)
{
    vecOut.clear();
    std::string sFolder;
    std::string sCopy = CopyToPrivateFolder(sDocxPath, sFolder);
    bool bRead = false;
    if (!sCopy.empty()) {
        CDocxParser parser;
        if (parser.ReadDocx(sCopy) == 1 && parser.ParseStruct(nReportType, nullptr, true) == 1) {
            Recognise(parser);
            parser.GetAllParagraph(vecOut);
            bRead = true;
        }
    }
    if (!sFolder.empty())
        CDocxPackage::RemoveFolder(sFolder);
    return bRead;
}

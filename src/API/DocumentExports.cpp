// Exported document functions: parse a file into its document and content
// files and summarise it, or give its plain text. They need no started
// library: a parse uses only the document model.
#include <json/json.h>
#include <string>

#include "API/ExportGuard.h"
#include "Docx/DocxParser.h"
#include "Docx/FileImporter.h"
#include "Utility/BufferManager.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

// Strings these functions return; kept like every other returned string.
CBufferManager& DocumentBuffer()
{
    static CBufferManager s_buffer;
    return s_buffer;
}

Json::Value Summary(CDocxParser& parser, const std::string& sResultFile)
{
    Json::Value summary(Json::objectValue);
    summary["result_file"] = sResultFile;
    size_t nParagraphs = 0;
    for (const _tParagraph& para : parser.Model().Paragraphs())
        nParagraphs += !para.IsPlaceholder();
    size_t nCells = 0;
    for (const _tTable& table : parser.Model().Tables()) {
        for (const _tRow& row : table.rows) {
            for (const _tCell& cell : row)
                nCells += cell.size();
        }
    }
    parser.DocCharStat();
    summary["paragraphs"] = static_cast<Json::UInt64>(nParagraphs);
    summary["tables"] = static_cast<Json::UInt64>(parser.Model().Tables().size());
    summary["cell_paragraphs"] = static_cast<Json::UInt64>(nCells);
    summary["figures"] = static_cast<Json::UInt64>(parser.Model().Figures().size());
    summary["headers"] = static_cast<Json::UInt64>(parser.Model().Headers().size());
    summary["footers"] = static_cast<Json::UInt64>(parser.Model().Footers().size());
    summary["contents"] = static_cast<Json::UInt64>(parser.Model().ContentStruct().size());
    summary["char_count"] = static_cast<Json::UInt64>(parser.Model().CharCount());
    summary["multi_byte_chars"] = static_cast<Json::UInt64>(parser.Model().MultiCharCount());
    summary["single_byte_chars"] = static_cast<Json::UInt64>(parser.Model().SingleCharCount());
    Json::Value headings(Json::arrayValue);
    for (int nIndex : parser.Model().DocStruct()) {
        const _tParagraph& para = parser.Model().Paragraphs()[static_cast<size_t>(nIndex)];
        Json::Value heading(Json::objectValue);
        heading["level"] = para.level;
        heading["paraId"] = para.id;
        heading["text"] = para.text;
        headings.append(heading);
    }
    summary["headings"] = headings;
    return summary;
}

const char* Keep(const std::string& sText)
{
    return DocumentBuffer().AddBuffer(sText.c_str());
}

}  // namespace

extern "C" {

VESKAR_API const char* VESKAR_ParseFile(const char* sFile, int nReportType, int nResultFormat)
{
    return GuardExport<const char*>("VESKAR_ParseFile", nullptr, [&]() -> const char* {
        if (!sFile || !*sFile) {
            SetLastError("VESKAR_ParseFile: no file given");
            return nullptr;
        }
        CDocxParser parser;
        if (parser.ImportFile(sFile, "", nReportType, nResultFormat) != 1)
            return nullptr;
        std::string sResultFile = CFileImporter::Extension(sFile) == "xml" ? std::string(sFile)
                                                                            : parser.m_sResult;
        Json::StreamWriterBuilder builder;
        builder["indentation"] = "";
        builder["emitUTF8"] = true;
        return Keep(Json::writeString(builder, Summary(parser, sResultFile)));
    });
}

VESKAR_API const char* VESKAR_GetFileText(const char* sFile)
{
    return GuardExport<const char*>("VESKAR_GetFileText", nullptr, [&]() -> const char* {
        if (!sFile || !*sFile) {
            SetLastError("VESKAR_GetFileText: no file given");
            return nullptr;
        }
        CDocxParser parser;
        std::string sExt = CFileImporter::Extension(sFile);
        if (sExt == "docx" || sExt == "docm") {
            const char* sText = parser.GetDocxText(sFile);
            return sText ? Keep(sText) : nullptr;
        }
        if (parser.ImportFile(sFile, "", 0, 0) != 1)
            return nullptr;
        return Keep(parser.GetText());
    });
}

}  // extern "C"

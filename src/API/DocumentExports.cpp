// Exported document functions: parse a file into its document and content
// files and summarise it, or give its text; and where the calling thread's
// outputs go. They need no started library: a parse uses only the document
// model.
#include <cstdlib>
#include <filesystem>
#include <json/json.h>
#include <string>

#include "API/ExportGuard.h"
#include "Docx/DocxParser.h"
#include "Docx/DocxPackage.h"
#include "Docx/FileImporter.h"
#include "Docx/PlainText.h"
#include "Utility/CallContext.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
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

// A fresh folder under the system's temporary folder, removed with the
// object: reading a document's text leaves nothing beside the document.
class CTextWorkFolder {
public:
    CTextWorkFolder()
    {
        std::error_code ec;
        std::string sTemplate = (std::filesystem::temp_directory_path(ec) / "veskar-text-XXXXXX").string();
        if (!ec && mkdtemp(sTemplate.data()))
            m_sFolder = sTemplate;
    }
    ~CTextWorkFolder()
    {
        if (!m_sFolder.empty())
            CDocxPackage::RemoveFolder(m_sFolder);
    }
    CTextWorkFolder(const CTextWorkFolder&) = delete;
    CTextWorkFolder& operator=(const CTextWorkFolder&) = delete;
    const std::string& Folder() const { return m_sFolder; }

private:
    std::string m_sFolder;
};

// Parses sFile for its text with every output in a temporary folder; false
// (last error set) on failure. bPlain: the text for reading (CPlainText);
// else the model's own text, for which a package is read without its
// styles and structure.
bool ParseForText(CDocxParser& parser, const char* sFile, std::string& sText, bool bPlain)
{
    CTextWorkFolder work;
    if (work.Folder().empty()) {
        SetLastError("Cannot create a temporary folder for the text of " + std::string(sFile));
        return false;
    }
    CCallContext context;
    context.sOutputFolder = work.Folder();
    context.bShowProgress = false;
    CCallContext::CScope scope(std::move(context));
    std::string sExt = CFileImporter::Extension(sFile);
    if (!bPlain && (sExt == "docx" || sExt == "docm")) {
        const char* sRaw = parser.GetDocxText(sFile);
        if (!sRaw)
            return false;
        sText = sRaw;
        return true;
    }
    if (parser.ImportFile(sFile, "", 0, 0) != 1)
        return false;
    sText = bPlain ? CPlainText::Render(parser) : std::string(parser.GetText());
    return true;
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
        std::string sText;
        return ParseForText(parser, sFile, sText, false) ? Keep(sText) : nullptr;
    });
}

VESKAR_API const char* VESKAR_GetPlainText(const char* sFile)
{
    return GuardExport<const char*>("VESKAR_GetPlainText", nullptr, [&]() -> const char* {
        if (!sFile || !*sFile) {
            SetLastError("VESKAR_GetPlainText: no file given");
            return nullptr;
        }
        CDocxParser parser;
        std::string sText;
        return ParseForText(parser, sFile, sText, true) ? Keep(sText) : nullptr;
    });
}

VESKAR_API int VESKAR_SetOutputDir(const char* sDir)
{
    return GuardExport("VESKAR_SetOutputDir", 0, [&]() -> int {
        std::string sFolder = sDir ? sDir : "";
        if (!sFolder.empty()) {
            std::error_code ec;
            std::filesystem::create_directories(sFolder, ec);
            if (!IsDirectory(sFolder)) {
                SetLastError("Cannot create the output folder " + sFolder);
                return 0;
            }
            sFolder = NormalisePath(sFolder);
        }
        CCallContext::Current().sOutputFolder = sFolder;
        return 1;
    });
}

}  // extern "C"

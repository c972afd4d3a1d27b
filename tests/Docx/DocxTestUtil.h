// Shared helpers of the document-model tests: build a package in a
// temporary folder and parse it.
#pragma once

#include <memory>
#include <string>

#include "Docx/DocxParser.h"
#include "support/DocxBuilder.h"
#include "support/TempDir.h"

// A heading that opens a body, so later plain paragraphs keep level 0
// instead of being taken for cover-page lines.
inline std::string OpeningHeading(const std::string& sText = "第一章 绪论")
{
    return CDocxBuilder::Para(sText, "<w:outlineLvl w:val=\"0\"/>");
}

// Writes the package as <dir>/<name> and imports it; the ImportFile result.
inline int ParseBuilt(CDocxParser& parser, const CDocxBuilder& builder, const CTempDir& dir,
                      const std::string& sName = "doc.docx", int nReportType = 0, int nFormat = 0)
{
    std::string sPath = dir.File(sName);
    if (!builder.Write(sPath))
        return -100;
    return parser.ImportFile(sPath.c_str(), "", nReportType, nFormat);
}

inline int ParseBody(CDocxParser& parser, const std::string& sBody, const CTempDir& dir,
                     int nReportType = 0)
{
    CDocxBuilder builder;
    builder.Body(sBody);
    return ParseBuilt(parser, builder, dir, "doc.docx", nReportType);
}

// The body paragraphs that are not placeholders, as texts joined by "|".
inline std::string BodyTexts(const CDocxParser& parser)
{
    std::string sOut;
    for (const _tParagraph& para : parser.Model().Paragraphs()) {
        if (para.IsPlaceholder())
            continue;
        if (!sOut.empty())
            sOut += "|";
        sOut += para.text;
    }
    return sOut;
}

// Writes the model as the document file (XML or JSON: paragraphs, headers,
// footers, contents, tables, figures, counts) and the content file (the
// heading structure). Values are escaped, so the files are well formed and
// read back to exactly what was written.
#pragma once

#include <string>

#include <json/value.h>

#include "Docx/DocxRecords.h"

class CDocxParser;

class CContentWriter {
public:
    explicit CContentWriter(const CDocxParser& parser) : m_parser(parser) {}

    std::string XMLData() const;
    std::string JsonData(bool bWithTables) const;
    // The content file without its declaration line.
    std::string ContentXML() const;
    std::string ContentJson() const;

    static const char* XmlDeclaration();
    // A JSON value as text, in the library's one JSON style.
    static std::string WriteJson2Str(const Json::Value& value);

private:
    void ParaOutput(std::string& sOut, const _tParagraph& para) const;
    // A little more than XMLData writes, so its string grows only once.
    size_t XMLDataSize() const;
    Json::Value ParaOutputJson(const _tParagraph& para) const;
    // The caption of a placeholder, or null when it has none.
    const _tParagraph* PlaceholderCaption(const _tParagraph& para) const;
    const _tParagraph* CaptionAt(unsigned nIndex) const;
    void TablesOutput(std::string& sOut) const;
    void FiguresOutput(std::string& sOut) const;
    Json::Value TablesJson() const;
    Json::Value FiguresJson() const;

    const CDocxParser& m_parser;
};

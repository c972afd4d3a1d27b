// Rebuilds the model from a saved document file and content file (the XML
// pair the content writer produced), so a stored document can be checked
// again without its .docx.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocxRecords.h"

class CDocxParser;

class CContentReader {
public:
    explicit CContentReader(CDocxParser& parser) : m_parser(parser) {}

    // The document file's text: everything but the headings. Bytes read.
    size_t InputXMLData(std::string_view sText);
    // The content file's text: the heading list. Number of headings found.
    int InputContentXML(std::string_view sText);
    // One <para> element at or after nFrom (before nLimit) into para; the
    // position after it, or XML_NPOS when there is none.
    static size_t paraInput(std::string_view sText, _tParagraph& para, size_t nFrom,
                            size_t nLimit);
    void tableInput(std::string_view sText);
    void figureInput(std::string_view sText);

private:
    void ReadParaList(std::string_view sText, const char* sOpen, const char* sClose,
                      std::vector<_tParagraph>& vecOut);
    void ReadBodyList(std::string_view sText);
    void ReadContentList(std::string_view sText);
    unsigned CaptionIndex(std::string_view sText, size_t nFrom, size_t nLimit, const char* sTag);
    void ReadTable(std::string_view sText, size_t nFrom, size_t nLimit);

    CDocxParser& m_parser;
};

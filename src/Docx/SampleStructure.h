// Reads a template sample: parses a .docx in a private folder and places the
// parts of a paper from their captions. Samples are written for the purpose,
// with plain captions (摘要, Abstract, 参考文献, 致谢 ...), so the captions
// themselves place the parts here; checked documents get their parts from
// the rules of their report type instead.
#pragma once

#include <string>
#include <vector>

#include "Docx/DocxRecords.h"
#include "Docx/KeyVal.h"

class CDocxParser;

class CSampleStructure {
public:
    // Every paragraph of the sample (body, headers, footers, cells) with its
    // level; false when the file cannot be read or parsed.
    static bool ReadSample(const std::string& sDocxPath, int nReportType, std::vector<_tParagraph>& vecOut);
    // Places the parts of a paper in a parsed document from their captions.
    static void Recognise(CDocxParser& docx);
    // The values found under one part's key name (paper_abstract_cn ...).
    static std::vector<_tKeyVal> FindPart(const CDocxParser& docx, const char* sKeyName);
    // The caption's text without blanks, ideographic spaces and a final
    // colon; Latin letters in lower case.
    static std::string CompactCaption(const std::string& sText);
};

// Scans that callers outside the engine run with a rule set: opening the
// set of a report type, and scanning a document file, a saved result or a
// text file with a fresh agent. The exported functions, the checking
// pipeline and the veskar tool share them.
#pragma once

#include <memory>
#include <string>

class CRUX;
class CRUXAgent;

// The compiled set "RUX_<nType>.rule" of the engine's data folder; null
// when the file is missing or does not load (the last error says which).
std::unique_ptr<CRUX> OpenRuleSetOfType(int nType);

// What a scan of a file leaves: the hit list and the combined knowledge JSON.
struct _tScanOutcome {
    int nResult = -1;  // 1, or -1 with the last error set
    std::string sHitList;
    std::string sKnowledge;
};

// A .docx (or another document format the parser reads) parsed for report
// type nType, its content output written, scanned with the set; output
// files beside it and the hit list written to file + "_RUX_result.xml".
_tScanOutcome ScanDocumentFile(CRUX& set, const char* sFile, int nType, bool bJson);
// A saved document result reloaded and scanned; the hit list, no hit file.
_tScanOutcome ScanDocumentResult(CRUX& set, const char* sResultFile, bool bJson);
// Every line of a text file a paragraph; outputs beside it.
_tScanOutcome ScanPlainTextFile(CRUX& set, const char* sFile, bool bJson);
// One paragraph (no files): the hit list.
std::string ScanOneParagraph(CRUX& set, const char* sText, unsigned nParaId);
// The trace JSON of a text in memory, one paragraph per line.
std::string TraceText(CRUX& set, const char* sText, int nRule);

// The times of one check's stages, kept by its checker instance so a caller
// can see where a check spends its time (veskar check --timing).
#pragma once

#include <chrono>
#include <string>

struct _tCheckTiming {
    // Milliseconds per stage; a stage that did not run stays 0.
    double fParse = 0;     // import: unpacking and parsing the document
    double fRuleScan = 0;  // the extraction rules over every paragraph
    double fAudit = 0;     // template keys, extraction findings, audit rules
    double fFormat = 0;    // format check and sensitive words
    double fMarks = 0;     // findings marked in the HTML pages
    double fOutput = 0;    // the result file written
    double fTotal = 0;     // from the start of the import to the last stage

    // {"parse","rule_scan","audit","format","marks","output","total"} in ms.
    std::string ToJson() const;
};

// Milliseconds since a start point, and restarts it.
class CStageClock {
public:
    CStageClock() : m_start(std::chrono::steady_clock::now()) {}
    double Lap()
    {
        auto now = std::chrono::steady_clock::now();
        double fMs = std::chrono::duration<double, std::milli>(now - m_start).count();
        m_start = now;
        return fMs;
    }

private:
    std::chrono::steady_clock::time_point m_start;
};

// A small thesis-like sample for the format-check tests, built as a .docx
// with explicit fonts, sizes and line spacing, and the seeded changes the
// tests make to it one at a time.
#pragma once

#include <memory>
#include <string>

#include "Checker/CheckResult.h"
#include "Docx/DocFormat.h"
#include "Docx/DocxParser.h"
#include "support/TempDir.h"

struct _tSampleSeed {
    bool bSongTitle = false;         // the second chapter title in 宋体
    bool bEnglishNames = false;      // that title's 黑体 written SimHei
    bool bSmallBody = false;         // one body paragraph at 五号
    bool bSingleSpacing = false;     // one body paragraph at single spacing
    int nExactLine = 0;              // that paragraph at an exact height in twips instead
    bool bSkipSection = false;       // 2.1, 2.3
    bool bMissingFigure = false;     // 图2-1, 图2-2, 图2-4
    bool bDuplicateHeading = false;  // 1.1, 1.2, 1.2
    bool bTableNoCaption = false;    // the table's caption left out
    bool bNoAcknowledge = false;     // no 致谢 part
    bool bCoverLines = false;        // cover lines in 黑体 三号 before the first chapter
    bool bLatinBody = false;         // an English body paragraph in Times New Roman
    bool bSpacedAcknowledge = false; // the part written 致　谢
    int nChapters = 2;               // more chapters for larger documents
};

// The body XML of the sample with the seeds applied.
std::string SampleBody(const _tSampleSeed& seed);
// Writes the sample as dir/sName and parses it for report type nType;
// false on failure.
bool ParseSample(CDocxParser& parser, const CTempDir& dir, const std::string& sName, const _tSampleSeed& seed,
                 int nType = 0);
// The template learnt from the unseeded sample, with 致谢 as a required part.
std::unique_ptr<CDocFormat> LearnSampleTemplate(const CTempDir& dir);

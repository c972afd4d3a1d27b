// A revision the author reviews in the word processor: every text
// correction becomes a tracked deletion and insertion by "veskar" (the runs
// split at the corrected bytes keep their properties), and every finding
// that is no text correction becomes a comment on its paragraph holding the
// message and the expected value. Accepting all changes gives the
// corrected text.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Checker/CheckRecord.h"
#include "Reviser/CommentsPart.h"
#include "Reviser/ReviseRecords.h"

class CTrackedReviser {
public:
    // sFolder: the unpacked package; sDoc: its word/document.xml.
    CTrackedReviser(const std::string& sFolder, std::string sDoc);

    // Applies sorted findings from the last to the first, and the findings
    // about the whole document as comments on its first paragraph. False
    // when the package cannot take comments (Error()).
    bool Apply(const std::vector<_tCheckResult>& vecResults, _tReviseReport& report);
    // The parts to pack in place of the unpacked ones.
    const std::map<std::string, std::string>& ChangedParts() const { return m_mapParts; }
    const std::string& Error() const { return m_sError; }

    // The comment text of a finding, one line per paragraph.
    static std::vector<std::string> CommentLines(const _tCheckResult& finding);

private:
    // Each step works on sDoc, a stretch of the document that holds the
    // finding's paragraph, with the finding's id relative to it.
    void ApplyOne(std::string& sDoc, const _tCheckResult& finding, _tReviseReport& report);
    bool ApplyText(std::string& sDoc, size_t nParaStart, const _tCheckResult& finding);
    bool Comment(std::string& sDoc, size_t nParaStart, const _tCheckResult& finding);
    void CommentDocument(const std::vector<const _tCheckResult*>& vecFindings, _tReviseReport& report);
    // Replaces the bytes [nBegin, nEnd) of a piece's text by sMiddle, which
    // goes between the two halves of its run.
    static void SplitRun(std::string& sDoc, const _tSegInfo& seg, size_t nBegin, size_t nEnd,
                         const std::string& sMiddle);
    std::string Deleted(const std::string& sText, const std::string& sRPr);
    std::string Inserted(const std::string& sText, const std::string& sRPr);
    std::string ChangeAttributes();

    std::string m_sDoc;
    CCommentsPart m_comments;
    long long m_nNextId = 0;
    std::string m_sDate;
    std::map<std::string, std::string> m_mapParts;
    std::string m_sError;
};

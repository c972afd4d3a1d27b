// Applies findings to copies of the stretches of document.xml that hold
// their paragraphs and joins the document once at the end, so a revision
// costs one pass over a large document instead of one per change.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Checker/CheckRecord.h"

class CWindowedRevision {
public:
    using ApplyFn = std::function<void(std::string& sWindow, const _tCheckResult& finding)>;

    // The document stays unchanged until Finish.
    explicit CWindowedRevision(std::string& sDoc) : m_sDoc(sDoc) {}

    // Calls fnApply on a window that holds the finding's paragraph, with the
    // finding's para_id made relative to the window. Findings come from the
    // last paragraph to the first. False (nothing called) when the id names
    // no paragraph.
    bool Apply(const _tCheckResult& finding, const ApplyFn& fnApply);
    // Puts every changed window back into the document.
    void Finish();

private:
    struct _tWindow {
        size_t nStart = 0;  // in the document as it was
        size_t nEnd = 0;
        std::string sText;  // as changed
    };

    // Makes the current window reach nEnd, taking in windows done before.
    void ExtendTo(size_t nEnd);

    std::string& m_sDoc;
    std::vector<_tWindow> m_vecDone;  // last to first
    _tWindow m_current;
    bool m_bOpen = false;
};

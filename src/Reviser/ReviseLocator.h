// Finds a finding's text in a paragraph: cuts the paragraph into its
// visible pieces (document runs or HTML texts) and looks the text up among
// them near the finding's offset, even when it runs over several pieces.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Reviser/ReviseRecords.h"

class CReviseLocator {
public:
    // The pieces of [nStart, nEnd) of a document.xml text (bHtml false) or of
    // an HTML page (bHtml true), in order.
    static std::vector<_tSegInfo> GetTextSegments(const std::string& sDoc, size_t nStart, size_t nEnd, bool bHtml);
    // Where sOrg lies among the pieces. Of several places the one nearest
    // to nOffset wins (offsets count the real bytes of the pieces other than
    // blanks). HTML pages show alignment as markup, so there the alignment
    // tags of sOrg are not looked for.
    static _tReviseLocation GetReviseLocation(const std::vector<_tSegInfo>& vecSegs, size_t nOffset,
                                              const std::string& sOrg, bool bHtml);

private:
    static void AddRunSegments(const std::string& sDoc, size_t nRun, size_t nRunEnd, std::vector<_tSegInfo>& vecSegs);
    static void AddHtmlSegments(const std::string& sDoc, size_t nStart, size_t nEnd, std::vector<_tSegInfo>& vecSegs);
    static std::string RunAlignment(const std::string& sDoc, size_t nRun, size_t nRunEnd);
    static _tReviseLocation MapHit(const std::vector<_tSegInfo>& vecSegs, const std::vector<size_t>& vecSegStart,
                                   size_t nHitStart, size_t nHitEnd);
};

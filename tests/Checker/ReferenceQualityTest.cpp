// The reference check on a hundred correct entries of every kind (no finding
// may be made) and on faults seeded into them (almost all must be found).
// The rates are printed so a run shows how close the check is to its marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "Checker/ReferenceEntry.h"

namespace {

const int kToday = 20240615;

std::vector<std::string> CorrectEntries()
{
    std::ifstream file(std::string(VESKAR_TEST_SOURCE_DIR) + "/tests/data/references_correct.txt");
    std::vector<std::string> vecEntries;
    std::string sLine;
    while (std::getline(file, sLine))
        if (!sLine.empty() && sLine[0] != '#')
            vecEntries.push_back(sLine);
    return vecEntries;
}

// Where the publication data starts and where links start: faults are
// seeded between them.
size_t AfterMark(const std::string& sEntry)
{
    return CReferenceText::FindTypeMark(sEntry).nClose + 1;
}

size_t LinkStart(const std::string& sEntry)
{
    size_t nEnd = sEntry.size();
    for (const char* sLink : {"http", "DOI", "doi"})
        nEnd = std::min(nEnd, sEntry.find(sLink));
    return nEnd;
}

struct _tSeed {
    std::string sKind;
    std::string sExpected;  // the code the fault should give
    std::string sText;
};

// The seeded faults of one correct entry; a kind that does not apply to the
// entry gives no seed.
std::vector<_tSeed> SeedFaults(const std::string& sEntry)
{
    std::vector<_tSeed> vecSeeds;
    const _tTypeMark mark = CReferenceText::FindTypeMark(sEntry);
    const size_t nAfter = AfterMark(sEntry);
    const size_t nLinks = LinkStart(sEntry);
    // Missing type mark.
    vecSeeds.push_back({"type mark", "14.1", sEntry.substr(0, mark.nOpen) + sEntry.substr(mark.nClose + 1)});
    // Wrong punctuation: the full stop between author and title as a comma.
    {
        std::string sText = sEntry;
        size_t nStop = sText.rfind(". ", mark.nOpen);
        if (nStop != std::string::npos) {
            sText[nStop] = ',';
            vecSeeds.push_back({"punctuation", "14.2", sText});
        }
    }
    // Full-width mix: one comma, one digit written full-width.
    {
        size_t nComma = sEntry.find(',', nAfter);
        if (nComma != std::string::npos)
            vecSeeds.push_back({"full-width comma", "14.9", sEntry.substr(0, nComma) + "，" + sEntry.substr(nComma + 1)});
        size_t nDigit = sEntry.find_first_of("0123456789", nAfter);
        if (nDigit != std::string::npos) {
            std::string sWide = "\xEF\xBC";
            sWide += static_cast<char>(0x90 + (sEntry[nDigit] - '0'));
            vecSeeds.push_back({"full-width digit", "14.9", sEntry.substr(0, nDigit) + sWide + sEntry.substr(nDigit + 1)});
        }
    }
    const std::string sHead = sEntry.substr(0, nAfter);
    const std::string sData = sEntry.substr(nAfter, nLinks - std::min(nLinks, nAfter));
    const std::string sTail = sEntry.substr(std::max(nAfter, nLinks));
    // Missing year: every year or date of the publication data removed.
    {
        static const std::regex kYear("(18|19|20)[0-9]{2}([-/.年][0-9]{1,2}[-/.月][0-9]{1,2}日?)?");
        std::string sData2 = std::regex_replace(sData, kYear, "");
        if (sData2 != sData)
            vecSeeds.push_back({"missing year", "14.4", sHead + sData2 + sTail});
    }
    // Bad page range: start and end swapped.
    {
        static const std::regex kRange(":\\s*([0-9]+)-([0-9]+)");
        std::smatch match;
        if (std::regex_search(sData, match, kRange) && std::stoi(match[1]) < std::stoi(match[2])) {
            std::string sSwapped = ": " + match[2].str() + "-" + match[1].str();
            std::string sData2 = match.prefix().str() + sSwapped + match.suffix().str();
            vecSeeds.push_back({"page range", "14.6", sHead + sData2 + sTail});
        }
    }
    return vecSeeds;
}

TEST(ReferenceQuality, CorrectEntriesGiveNoFinding)
{
    const std::vector<std::string> vecEntries = CorrectEntries();
    ASSERT_EQ(vecEntries.size(), 100u);
    CReferenceEntry entry(kToday);
    size_t nFalse = 0;
    for (const std::string& sEntry : vecEntries) {
        if (!entry.Check(sEntry)) {
            ++nFalse;
            ADD_FAILURE() << entry.Code() << " on: " << sEntry;
        }
    }
    std::printf("reference quality: %zu of %zu correct entries flagged\n", nFalse, vecEntries.size());
}

TEST(ReferenceQuality, SeededFaultsAreFound)
{
    CReferenceEntry entry(kToday);
    size_t nSeeds = 0, nFound = 0, nExact = 0;
    std::map<std::string, std::pair<size_t, size_t>> mapByKind;  // kind -> seeds, found
    for (const std::string& sEntry : CorrectEntries()) {
        for (const _tSeed& seed : SeedFaults(sEntry)) {
            ++nSeeds;
            auto& counts = mapByKind[seed.sKind];
            ++counts.first;
            if (entry.Check(seed.sText))
                continue;
            ++nFound;
            ++counts.second;
            if (entry.Code() == seed.sExpected)
                ++nExact;
        }
    }
    for (const auto& kind : mapByKind)
        std::printf("reference quality: %-17s %3zu of %3zu found\n", kind.first.c_str(), kind.second.second,
                    kind.second.first);
    std::printf("reference quality: %zu of %zu seeded faults found (%.1f%%), %zu with the expected code\n", nFound,
                nSeeds, 100.0 * nFound / nSeeds, nExact);
    EXPECT_GE(nSeeds, 500u);
    EXPECT_GE(nFound * 100, nSeeds * 95);
}

}  // namespace

// The sensitive-word scan: every paragraph goes through the keyword scanner,
// and each wrongly written word it reports becomes a "1.5.2" finding with
// the right form as the proposed text.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CDocxParser;
class CCheckResult;

// One reported item: the right form A and the written form B of "A-->B".
using WordPair = std::pair<std::string, std::string>;

// Reads the scanner's answer "...(Check ...)A-->B##A-->B...$". 1 with the
// items; -1 no "(Check ", -2 no ")" after it, -3 no "$" after that.
int ParseKeyScanAnswer(const std::string& sAnswer, std::vector<WordPair>& vecItems);

// Adds a "1.5.2" finding per item: the written form B as found after the
// previous item's hit (the previous offset when it is not found), the right
// form A as proposed text. The number of findings added.
size_t AddErrorWordFindings(uint32_t nParaId, const std::string& sParaText, const std::string& sDocText,
                            const std::vector<WordPair>& vecItems, CCheckResult& results);

// Scans headers and footers, the body, then every table cell paragraph;
// the number of findings added.
size_t CheckErrorWord(CDocxParser& parser, CCheckResult& results);

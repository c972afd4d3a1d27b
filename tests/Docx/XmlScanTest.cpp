// The bounded substring search every scanner of the document text relies
// on: whatever path it takes, it finds what a plain search finds.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Docx/XmlScan.h"

namespace {

// The first match starting in [nFrom, nLimit); it may run past nLimit.
size_t PlainFindIn(std::string_view sText, std::string_view sNeedle, size_t nFrom, size_t nLimit)
{
    if (nFrom >= sText.size() || sNeedle.empty())
        return XML_NPOS;
    size_t nPos = sText.find(sNeedle, nFrom);
    return nPos == std::string_view::npos || (nLimit != XML_NPOS && nPos >= nLimit) ? XML_NPOS : nPos;
}

}  // namespace

TEST(XmlScan, FindInAgreesWithAPlainSearch)
{
    // Markup bytes (common and rare ones), UTF-8 text and needles that
    // overlap themselves, at every alignment of a match and of the bounds.
    const std::string kAlphabet[] = {"<", ">", "/", "w", ":", "p", "r", "G", "P", "\"", " ", "研", "\n"};
    const std::string kNeedles[] = {"<w:", "<w:p", "</w:p>", "/>", "<", "PAGEREF", "ww", "<w:r>", "研究", "pp"};
    std::mt19937 rng(11);
    std::uniform_int_distribution<size_t> letter(0, sizeof(kAlphabet) / sizeof(kAlphabet[0]) - 1);
    std::uniform_int_distribution<size_t> which(0, sizeof(kNeedles) / sizeof(kNeedles[0]) - 1);
    for (int i = 0; i < 4000; ++i) {
        std::string sText;
        for (int n = static_cast<int>(rng() % 120); n > 0; --n)
            sText += rng() % 4 == 0 ? kNeedles[which(rng)] : kAlphabet[letter(rng)];
        std::string sNeedle = kNeedles[which(rng)];
        size_t nFrom = sText.empty() ? 0 : rng() % (sText.size() + 2);
        size_t nLimit = rng() % 3 == 0 ? XML_NPOS : rng() % (sText.size() + 8);
        ASSERT_EQ(FindIn(sText, sNeedle, nFrom, nLimit), PlainFindIn(sText, sNeedle, nFrom, nLimit))
            << sText << " | " << sNeedle << " from " << nFrom << " limit " << nLimit;
    }
    EXPECT_EQ(FindIn("ab</w:p>", "</w:p>", 0, 3), 2u);  // starts before the limit, ends past it
    EXPECT_EQ(FindIn("ab</w:p>", "</w:p>", 0, 2), XML_NPOS);
    EXPECT_EQ(FindIn("", "<", 0), XML_NPOS);
}

// Substring primitives of the document scanner: bounded searches, element
// tests, attribute and element values. The scanner works
// on the raw text with offsets and never builds a tree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

constexpr size_t XML_NPOS = std::string_view::npos;

// Position of sNeedle starting in [nFrom, nLimit), or XML_NPOS. A match may
// run past nLimit; only its start is bounded.
size_t FindIn(std::string_view sText, std::string_view sNeedle, size_t nFrom,
              size_t nLimit = XML_NPOS);
// True when sTag (e.g. "<w:p") starts at nPos and is followed by a blank or
// '>', which tells "<w:p" from "<w:pPr" and "<w:t" from "<w:tab".
bool IsElementAt(std::string_view sText, size_t nPos, std::string_view sTag);
// The next such element starting in [nFrom, nLimit), or XML_NPOS.
size_t FindElement(std::string_view sText, std::string_view sTag, size_t nFrom,
                   size_t nLimit = XML_NPOS);
// The "</tag>" that closes the element opened before nFrom, skipping
// elements of the same tag nested inside; XML_NPOS when it is missing.
size_t FindMatchingEnd(std::string_view sText, std::string_view sOpenTag,
                       std::string_view sCloseTag, size_t nFrom, size_t nLimit = XML_NPOS);

// Searches sName followed by '="' starting in [nFrom, nLimit). On a match the
// value is the bytes up to the next '"' and the result is that quote's
// position; otherwise the value is empty and the result is XML_NPOS.
size_t GetXMLPropertyValue(std::string_view sText, size_t nFrom, std::string_view sName,
                           std::string& sValue, size_t nLimit = XML_NPOS);
// atoi of a value read from the text (which has no terminating zero after
// it): the same number for every input, without a copy for plain digits.
int ValueToInt(std::string_view sValue);

// The text between "<tag>" and "</tag>" at or after nFrom; XML_NPOS when
// either is missing, else the position after the closing tag.
size_t GetXMLItemValue(std::string_view sText, std::string_view sTag, std::string& sValue,
                       size_t nFrom = 0, size_t nLimit = XML_NPOS);


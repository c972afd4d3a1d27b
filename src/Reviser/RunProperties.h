// The properties of a run (<w:rPr>) as text: copied from a run so that
// text split off it or put beside it looks the same, and changed in the
// place the schema orders their elements, which Word insists on.
#pragma once

#include <cstddef>
#include <string>

class CRunProperties {
public:
    // The "<w:rPr>..</w:rPr>" of the run [nRun, nRunEnd), without records
    // of earlier tracked format changes (their ids must stay unique); ""
    // when the run has none.
    static std::string Of(const std::string& sDoc, size_t nRun, size_t nRunEnd);
    // The run's start tag ("<w:r>" or "<w:r w:rsidR=..>").
    static std::string StartTag(const std::string& sDoc, size_t nRun);
    // sRPr with its w:vertAlign set to sValue, or removed when sValue is empty.
    static std::string WithAlign(const std::string& sRPr, const std::string& sValue);
    // sRPr with sElement (one empty element such as "<w:sz w:val=\"24\"/>"
    // named sName) replacing the element of that name, or inserted before
    // the first element that the schema places after it.
    static std::string WithElement(const std::string& sRPr, const std::string& sName, const std::string& sElement);

private:
    static size_t FindChild(const std::string& sRPr, const std::string& sName);
    static std::string Without(const std::string& sRPr, const std::string& sName);
};

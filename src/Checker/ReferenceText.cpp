// Reading the pieces of a reference entry: type mark, label, parts, numbers.
#include "Checker/ReferenceText.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

const std::string_view kIdeographicSpace = "\xE3\x80\x80";

// Past blanks (the ideographic space too) from nPos.
size_t SkipBlanks(std::string_view sText, size_t nPos)
{
    while (nPos < sText.size()) {
        if (IsBlankChar(sText[nPos]))
            ++nPos;
        else if (sText.substr(nPos, 3) == kIdeographicSpace)
            nPos += 3;
        else
            break;
    }
    return nPos;
}

std::string Upper(std::string_view sText)
{
    std::string sOut(sText);
    for (char& c : sOut)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return sOut;
}

bool AllLetters(std::string_view sText)
{
    for (char c : sText)
        if (!IsAsciiLetter(c))
            return false;
    return !sText.empty();
}

// A label's inside: digits, possibly with blanks around them.
bool IsNumberLabel(std::string_view sInside)
{
    std::string_view sTrim = CReferenceText::TrimView(sInside);
    if (sTrim.empty())
        return false;
    for (char c : sTrim)
        if (!IsDigit(c))
            return false;
    return true;
}

// A dash between two page numbers: "-", "~", en dash, em dash. Its length.
size_t DashAt(std::string_view sText, size_t nPos)
{
    if (nPos >= sText.size())
        return 0;
    if (sText[nPos] == '-' || sText[nPos] == '~')
        return 1;
    std::string_view s = sText.substr(nPos, 3);
    return (s == "\xE2\x80\x93" || s == "\xE2\x80\x94") ? 3 : 0;
}

// A page number, possibly with one letter before it ("e0123", "S12").
int ReadPage(std::string_view sText, size_t& nPos)
{
    nPos = SkipBlanks(sText, nPos);
    if (nPos + 1 < sText.size() && IsAsciiLetter(sText[nPos]) && IsDigit(sText[nPos + 1]))
        ++nPos;
    if (nPos >= sText.size() || !IsDigit(sText[nPos]))
        return -1;
    return CReferenceText::ReadInt(sText, nPos);
}

}  // namespace

std::string_view CReferenceText::TrimView(std::string_view sText)
{
    size_t nStart = SkipBlanks(sText, 0);
    size_t nEnd = sText.size();
    while (nEnd > nStart) {
        if (IsBlankChar(sText[nEnd - 1]))
            --nEnd;
        else if (nEnd - nStart >= 3 && sText.substr(nEnd - 3, 3) == kIdeographicSpace)
            nEnd -= 3;
        else
            break;
    }
    return sText.substr(nStart, nEnd - nStart);
}

int CReferenceText::TypeOfMark(std::string_view sInside)
{
    // Marks are short; a longer inside is a note or a date.
    if (sInside.size() >= 8)
        return REF_NONE;
    std::string sMark = Upper(TrimView(sInside));
    std::string sCarrier;
    size_t nSlash = sMark.find('/');
    if (nSlash != std::string::npos) {
        sCarrier = sMark.substr(nSlash + 1);
        sMark.resize(nSlash);
        if (sCarrier != "MT" && sCarrier != "DK" && sCarrier != "CD" && sCarrier != "OL")
            return REF_NONE;
    }
    if (!AllLetters(sMark) || sMark.size() > 2)
        return REF_NONE;
    static const struct {
        const char* sMark;
        int nType;
    } kMarks[] = {{"J", REF_JOURNAL}, {"C", REF_CONFERENCE}, {"M", REF_BOOK}, {"G", REF_BOOK},
                  {"CM", REF_BOOK}, {"D", REF_THESIS}, {"R", REF_REPORT}, {"S", REF_STANDARD},
                  {"P", REF_PATENT}, {"N", REF_NEWSPAPER}, {"E", REF_ELECTRONIC}, {"EB", REF_ELECTRONIC},
                  {"DB", REF_ELECTRONIC}, {"CP", REF_ELECTRONIC}, {"DS", REF_ELECTRONIC},
                  {"A", REF_ARCHIVE}, {"Z", REF_OTHER}};
    for (const auto& mark : kMarks)
        if (sMark == mark.sMark)
            return mark.nType;
    return REF_NONE;
}

_tTypeMark CReferenceText::FindTypeMark(std::string_view sText)
{
    _tTypeMark mark;
    size_t nEnd = sText.size();
    while (nEnd > 0) {
        size_t nClose = sText.rfind(']', nEnd - 1);
        if (nClose == std::string_view::npos)
            break;
        size_t nOpen = sText.rfind('[', nClose);
        if (nOpen == std::string_view::npos)
            break;
        int nType = TypeOfMark(sText.substr(nOpen + 1, nClose - nOpen - 1));
        if (nType != REF_NONE) {
            mark.nType = nType;
            mark.nOpen = nOpen;
            mark.nClose = nClose;
            break;
        }
        nEnd = nOpen;
    }
    return mark;
}

size_t CReferenceText::SkipLabel(std::string_view sText, size_t nFrom)
{
    size_t nPos = SkipBlanks(sText, nFrom);
    size_t nLabelEnd = 0;
    if (nPos < sText.size() && (sText[nPos] == '[' || sText[nPos] == '(')) {
        const char cClose = sText[nPos] == '[' ? ']' : ')';
        size_t nClose = sText.find(cClose, nPos);
        if (nClose != std::string_view::npos && nClose <= nPos + 9 &&
            IsNumberLabel(sText.substr(nPos + 1, nClose - nPos - 1)))
            nLabelEnd = nClose + 1;
    } else {
        size_t nDigits = 0;
        while (nPos + nDigits < sText.size() && IsDigit(sText[nPos + nDigits]))
            ++nDigits;
        const size_t nAfter = nPos + nDigits;
        // "12." or "12)" but not "1.5" or "2019年".
        if (nDigits > 0 && nDigits <= 3 && nAfter < sText.size() &&
            (sText[nAfter] == '.' || sText[nAfter] == ')') &&
            (nAfter + 1 >= sText.size() || !IsDigit(sText[nAfter + 1])))
            nLabelEnd = nAfter + 1;
    }
    if (!nLabelEnd)
        return nPos;
    nPos = nLabelEnd;
    while (true) {
        size_t nNext = SkipBlanks(sText, nPos);
        if (nNext < sText.size() && sText[nNext] == '.')
            ++nNext;
        if (nNext == nPos)
            return nPos;
        nPos = nNext;
    }
}

std::string CReferenceText::StripLinks(std::string_view sText)
{
    static const std::string_view kStarts[] = {"http://", "https://", "ftp://", "www.", "doi:", "doi.org/"};
    std::string sOut;
    sOut.reserve(sText.size());
    size_t nPos = 0;
    while (nPos < sText.size()) {
        size_t nMatch = 0;
        const bool bWordStart = nPos == 0 || !std::isalnum(static_cast<unsigned char>(sText[nPos - 1]));
        for (std::string_view sStart : kStarts)
            if (bWordStart && Upper(sText.substr(nPos, sStart.size())) == Upper(sStart))
                nMatch = sStart.size();
        if (!nMatch) {
            sOut += sText[nPos++];
            continue;
        }
        // "DOI: 10.1000/x" has a blank before its value.
        size_t nEnd = nPos + nMatch;
        if (sText[nEnd - 1] == ':')
            nEnd = SkipBlanks(sText, nEnd);
        while (nEnd < sText.size() && !IsBlankChar(sText[nEnd]) && static_cast<unsigned char>(sText[nEnd]) < 0x80)
            ++nEnd;
        nPos = nEnd;
    }
    return sOut;
}

std::vector<std::string_view> CReferenceText::SplitParts(std::string_view sText)
{
    std::vector<std::string_view> vecParts;
    size_t nStart = 0;
    for (size_t nPos = 0; nPos <= sText.size(); ++nPos) {
        if (nPos < sText.size()) {
            if (sText[nPos] != '.')
                continue;
            if (nPos > 0 && nPos + 1 < sText.size() && IsDigit(sText[nPos - 1]) && IsDigit(sText[nPos + 1]))
                continue;
        }
        std::string_view sPart = TrimView(sText.substr(nStart, nPos - nStart));
        if (!sPart.empty())
            vecParts.push_back(sPart);
        nStart = nPos + 1;
    }
    return vecParts;
}

std::vector<std::string_view> CReferenceText::SplitPieces(std::string_view sText, std::string_view sSeparators)
{
    std::vector<std::string_view> vecPieces;
    size_t nStart = 0;
    for (size_t nPos = 0; nPos <= sText.size(); ++nPos) {
        if (nPos < sText.size() && sSeparators.find(sText[nPos]) == std::string_view::npos)
            continue;
        std::string_view sPiece = TrimView(sText.substr(nStart, nPos - nStart));
        if (!sPiece.empty())
            vecPieces.push_back(sPiece);
        nStart = nPos + 1;
    }
    return vecPieces;
}

int CReferenceText::ReadInt(std::string_view sText, size_t& nPos)
{
    nPos = SkipBlanks(sText, nPos);
    if (nPos >= sText.size() || !IsDigit(sText[nPos]))
        return -1;
    int nValue = 0;
    while (nPos < sText.size() && IsDigit(sText[nPos])) {
        // Saturates: a run of digits is no page or year anyway.
        if (nValue < 100000000)
            nValue = nValue * 10 + (sText[nPos] - '0');
        ++nPos;
    }
    return nValue;
}

void CReferenceText::ReadPages(std::string_view sText, int& nStart, int& nEnd)
{
    size_t nPos = 0;
    nStart = ReadPage(sText, nPos);
    if (nStart < 0) {
        nStart = nEnd = 0;
        return;
    }
    nPos = SkipBlanks(sText, nPos);
    size_t nDash = DashAt(sText, nPos);
    if (!nDash) {
        nEnd = nStart;
        return;
    }
    nPos += nDash;
    nEnd = ReadPage(sText, nPos);
    if (nEnd < 0)
        nEnd = 0;  // "12-": the range has no end
}

size_t CReferenceText::LeadingDigits(std::string_view sPiece)
{
    size_t nPos = 0;
    while (nPos < sPiece.size() && (sPiece[nPos] == '(' || IsBlankChar(sPiece[nPos])))
        ++nPos;
    size_t nDigits = 0;
    while (nPos + nDigits < sPiece.size() && IsDigit(sPiece[nPos + nDigits]))
        ++nDigits;
    return nDigits;
}

bool CReferenceText::IsPageRange(std::string_view sPart)
{
    sPart = TrimView(sPart);
    size_t nPos = 0;
    if (ReadPage(sPart, nPos) < 0)
        return false;
    nPos = SkipBlanks(sPart, nPos);
    size_t nDash = DashAt(sPart, nPos);
    if (!nDash)
        return false;
    nPos += nDash;
    return ReadPage(sPart, nPos) >= 0 && SkipBlanks(sPart, nPos) == sPart.size();
}

_tYearPages CReferenceText::ReadYearPages(std::string_view sPart)
{
    // The year is the last comma piece that starts with four digits
    // ("出版社, 2010: 12-15"); the pages follow its colon.
    std::vector<std::string_view> vecPieces = SplitPieces(sPart, ",");
    _tYearPages found;
    if (vecPieces.empty())
        return found;
    std::string_view sPiece = vecPieces.back();
    for (size_t i = vecPieces.size(); i-- > 0;) {
        if (LeadingDigits(vecPieces[i]) == 4) {
            sPiece = vecPieces[i];
            break;
        }
    }
    size_t nColon = sPiece.find(':');
    if (LeadingDigits(sPiece) == 0 && nColon != std::string_view::npos) {
        // "北京: 出版社" without a year: what follows the place stands where it should be.
        sPiece = TrimView(sPiece.substr(sPiece.rfind(':') + 1));
        nColon = std::string_view::npos;
    }
    found.sYearText = std::string(TrimView(sPiece.substr(0, nColon)));
    // "(2019)[2023-05-01]": a year in brackets is still the year.
    size_t nPos = 0;
    while (nPos < sPiece.size() && (sPiece[nPos] == '(' || sPiece[nPos] == '[' || IsBlankChar(sPiece[nPos])))
        ++nPos;
    found.nYear = std::max(0, ReadInt(sPiece, nPos));
    if (nColon != std::string_view::npos)
        ReadPages(sPiece.substr(nColon + 1), found.nStartPage, found.nEndPage);
    return found;
}

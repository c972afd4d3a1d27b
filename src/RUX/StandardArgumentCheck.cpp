// Distances in clause tables are minimums ("不应小于"): a measured value
// below the required one does not comply, one above it does; one equal to
// it is left to the writer's verdict.
#include "RUX/StandardArgumentCheck.h"

#include <cmath>
#include <cstdlib>
#include <set>

#include "RUX/RUXAgent.h"
#include "RUX/StandardSearch.h"
#include "Utility/Log.h"

namespace {

const char kNonCompliant[] = "\xE4\xB8\x8D\xE7\xAC\xA6\xE5\x90\x88";  // 不符合
const char kCompliant[] = "\xE7\xAC\xA6\xE5\x90\x88";                 // 符合
const char kDi[] = "\xE7\xAC\xAC";                                     // 第

// The characters of a name that can carry meaning: Chinese characters,
// ASCII letters and digits (brackets, commas and blanks cannot).
std::set<unsigned> NameChars(const std::string& s)
{
    std::set<unsigned> setChars;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t nLen = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        unsigned cp = c;
        if (nLen == 3 && i + 2 < s.size())
            cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6) |
                 (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
        bool bAscii = nLen == 1 && ((c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'));
        if (bAscii || (cp >= 0x4E00 && cp <= 0x9FFF))
            setChars.insert(cp);
        i += nLen;
    }
    return setChars;
}

// Shared characters, less half of the name's characters the text lacks.
double Fit(const std::string& sName, const std::string& sText)
{
    if (sName.empty() || sText.empty())
        return 0;
    std::set<unsigned> setText = NameChars(sText);
    double dScore = 0;
    for (unsigned cp : NameChars(sName))
        dScore += setText.count(cp) ? 1.0 : -0.5;
    return dScore;
}

std::string FirstValue(CRUXAgent& agent, const char* sKey)
{
    std::vector<_tKeyVal> vecValues;
    if (agent.GetKeyValue(sKey, vecValues) <= 0)
        return "";
    return vecValues[0].key_value;
}

std::string WithUnit(const _tSearchDocument& document)
{
    return CSearchResultParser::Field(document, "value") + CSearchResultParser::Field(document, "unit");
}

}  // namespace

bool CStandardArgumentCheck::FirstNumber(const std::string& sText, double& dValue)
{
    size_t nAt = sText.find_first_of("0123456789");
    if (nAt == std::string::npos)
        return false;
    dValue = std::strtod(sText.c_str() + nAt, nullptr);
    return true;
}

double CStandardArgumentCheck::ComputeSearchResultScore(const _tSearchDocument& document, const _tArgument& argument)
{
    std::string sRow = CSearchResultParser::Field(document, "row_name");
    std::string sCol = CSearchResultParser::Field(document, "col_name");
    // Without a device and a building, the names are placed in the cited text as a whole.
    if (argument.sDevice.empty() && argument.sBuilding.empty())
        return Fit(sRow, argument.sCited) + Fit(sCol, argument.sCited);
    return 2 * Fit(sRow, argument.sDevice) + 2 * Fit(sCol, argument.sBuilding) + Fit(sCol, argument.sLevel) +
           Fit(sCol, argument.sRecycle);
}

bool CStandardArgumentCheck::ReadArgument(const std::string& sCited, _tArgument& argument) const
{
    if (!m_pArgumentRUX) {
        SetLastError("Argument RUX Manager services is not exists.");
        return false;
    }
    CRUXAgent agent(m_pArgumentRUX);
    agent.EnableContentChecks(false);
    agent.ScanTextMem(sCited.c_str(), -1, false);
    argument.sCited = sCited;
    argument.sTiaowen = FirstValue(agent, "safety_tiaowen");
    argument.sTiaowenhao = FirstValue(agent, "safety_tiaowenhao");
    argument.sSection = FirstValue(agent, "safety_section");
    argument.sDevice = FirstValue(agent, "safety_device");
    argument.sBuilding = FirstValue(agent, "safety_building");
    argument.sDistance = FirstValue(agent, "safety_distance");
    argument.sUnit = FirstValue(agent, "safety_unit");
    if (argument.sSection.compare(0, 3, kDi) == 0)
        argument.sSection.erase(0, 3);
    return true;
}

int CStandardArgumentCheck::Check(const _tRow& row, const std::string& sLevel, const std::string& sRecycle)
{
    if (!row.pStandard || row.pStandard->key_value.empty())
        return CStandardCitationCheck::RESULT_NOTHING;
    _tArgument argument;
    if (!ReadArgument(row.pStandard->key_value, argument))
        return CStandardCitationCheck::RESULT_NOTHING;
    argument.sLevel = sLevel;
    argument.sRecycle = sRecycle;
    // The catalogue finds a clause by the standard's title or its number.
    std::string sStandard = argument.sTiaowen.empty() ? argument.sTiaowenhao : argument.sTiaowen;
    if (sStandard.empty() || argument.sSection.empty())
        return CStandardCitationCheck::RESULT_NOTHING;
    if (!m_search.ReadAddresses(CStandardSearch::SERVICE_ARGUMENT))
        return CStandardCitationCheck::RESULT_NOTHING;
    std::vector<_tSearchDocument> vecDocs;
    std::string sQuery = "[field] file_name [and] " + sStandard + " [field] section_no [whole] " + argument.sSection;
    int nFound = m_search.Query(CStandardSearch::SERVICE_ARGUMENT, sQuery, 0, -1, vecDocs);
    if (nFound == CStandardSearch::kNoAnswer)
        return CStandardCitationCheck::RESULT_EXCLUDED;
    if (nFound <= 0 || vecDocs.empty()) {
        _tAuditFailure failure;
        failure.code = "2.9";
        failure.org_str = row.pStandard->key_value;
        m_sink(failure, *row.pStandard);
        return CStandardCitationCheck::RESULT_NOT_FOUND;
    }
    size_t nBest = 0;
    double dBest = ComputeSearchResultScore(vecDocs[0], argument);
    for (size_t i = 1; i < vecDocs.size(); ++i) {
        double dScore = ComputeSearchResultScore(vecDocs[i], argument);
        if (dScore > dBest) {
            dBest = dScore;
            nBest = i;
        }
    }
    CompareRow(row, argument, vecDocs[nBest]);
    return CStandardCitationCheck::RESULT_DONE;
}

void CStandardArgumentCheck::CompareRow(const _tRow& row, const _tArgument& argument, const _tSearchDocument& best)
{
    double dRequired = 0, dStated = 0;
    if (!FirstNumber(CSearchResultParser::Field(best, "value"), dRequired))
        return;
    // The value the cited text states for the clause.
    if (FirstNumber(argument.sDistance, dStated) && std::fabs(dStated - dRequired) >= 0.009) {
        _tAuditFailure failure;
        failure.code = "2.10";
        failure.org_str = row.pStandard->key_value;
        failure.new_str = WithUnit(best);
        m_sink(failure, *row.pStandard);
    }
    // A required value in a column of its own.
    if (row.pReqVal && FirstNumber(row.pReqVal->key_value, dStated) && std::fabs(dStated - dRequired) >= 0.009) {
        _tAuditFailure failure;
        failure.code = "2.11";
        failure.new_str = WithUnit(best);
        m_sink(failure, *row.pReqVal);
    }
    CheckVerdict(row, dRequired);
}

void CStandardArgumentCheck::CheckVerdict(const _tRow& row, double dRequired)
{
    double dMeasured = 0;
    if (!row.pRealVal || !row.pIsValid || !FirstNumber(row.pRealVal->key_value, dMeasured))
        return;
    const std::string& sVerdict = row.pIsValid->key_value;
    bool bSaysNo = sVerdict.find(kNonCompliant) != std::string::npos;
    bool bSaysYes = !bSaysNo && sVerdict.find(kCompliant) != std::string::npos;
    _tAuditFailure failure;
    failure.code = "2.12";
    if (dMeasured < dRequired - 0.009 && !bSaysNo) {
        failure.new_str = kNonCompliant;
        m_sink(failure, *row.pIsValid);
    } else if (dMeasured > dRequired + 0.009 && !bSaysYes) {
        failure.new_str = kCompliant;
        m_sink(failure, *row.pIsValid);
    }
}

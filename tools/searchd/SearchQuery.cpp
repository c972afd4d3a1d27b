// The query is cut at its markers; a "[field]" starts a term, whose name
// runs to the next marker, which must be a mode marker; the value runs to
// the next "[field]".
#include "SearchQuery.h"

#include <cctype>
#include <strings.h>

#include "CatalogueKeys.h"

namespace {

enum class EMarker { None, Field, Whole, And };

struct _tMarker {
    EMarker eKind;
    size_t nAt;
    size_t nLen;
};

// The next marker at or after nFrom; eKind None (at the end) when none.
_tMarker NextMarker(const std::string& s, size_t nFrom)
{
    static const std::pair<const char*, EMarker> kMarkers[] = {
        {"[field]", EMarker::Field}, {"[whole]", EMarker::Whole}, {"[and]", EMarker::And}};
    for (size_t i = s.find('[', nFrom); i != std::string::npos; i = s.find('[', i + 1)) {
        for (const auto& marker : kMarkers) {
            size_t nLen = std::char_traits<char>::length(marker.first);
            if (strncasecmp(s.c_str() + i, marker.first, nLen) == 0)
                return {marker.second, i, nLen};
        }
    }
    return {EMarker::None, s.size(), 0};
}

std::string Lower(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

bool CSearchQuery::Parse(const std::string& sQuery, std::string& sError)
{
    m_vecTerms.clear();
    _tMarker marker = NextMarker(sQuery, 0);
    if (marker.eKind != EMarker::Field || !CCatalogueKeys::Trimmed(sQuery.substr(0, marker.nAt)).empty()) {
        sError = "a query is a sequence of \"[field] NAME [whole] TEXT\" or \"[field] NAME [and] TEXT\" terms";
        return false;
    }
    while (marker.eKind == EMarker::Field) {
        size_t nNameStart = marker.nAt + marker.nLen;
        _tMarker mode = NextMarker(sQuery, nNameStart);
        _tQueryTerm term;
        term.sField = Lower(CCatalogueKeys::Trimmed(sQuery.substr(nNameStart, mode.nAt - nNameStart)));
        if (mode.eKind != EMarker::Whole && mode.eKind != EMarker::And) {
            sError = "field \"" + term.sField + "\" is not followed by [whole] or [and]";
            return false;
        }
        if (term.sField.empty()) {
            sError = "a [field] marker without a field name";
            return false;
        }
        term.eMode = mode.eKind == EMarker::Whole ? EMatchMode::Whole : EMatchMode::And;
        size_t nValueStart = mode.nAt + mode.nLen;
        marker = NextMarker(sQuery, nValueStart);
        while (marker.eKind != EMarker::None && marker.eKind != EMarker::Field)
            marker = NextMarker(sQuery, marker.nAt + marker.nLen);  // a mode word inside a value
        term.sValue = CCatalogueKeys::Trimmed(sQuery.substr(nValueStart, marker.nAt - nValueStart));
        m_vecTerms.push_back(term);
    }
    return true;
}

std::string CSearchQuery::ValueOf(const std::string& sField) const
{
    for (const auto& term : m_vecTerms) {
        if (term.sField == sField)
            return term.sValue;
    }
    return "";
}

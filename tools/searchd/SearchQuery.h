// The query language of the search service: a sequence of terms
//   [field] NAME [whole] TEXT   NAME holds TEXT as a whole
//   [field] NAME [and] TEXT     NAME holds every blank-separated word of TEXT
// all of which a hit must satisfy. Markers ignore case; any other
// bracketed text is part of a name or value.
#pragma once

#include <string>
#include <vector>

enum class EMatchMode { Whole, And };

struct _tQueryTerm {
    std::string sField;  // lower case
    EMatchMode eMode = EMatchMode::Whole;
    std::string sValue;  // trimmed
};

class CSearchQuery {
public:
    // False with sError for text that is no sequence of terms.
    bool Parse(const std::string& sQuery, std::string& sError);
    const std::vector<_tQueryTerm>& Terms() const { return m_vecTerms; }
    // The value of the first term on sField ("" when none).
    std::string ValueOf(const std::string& sField) const;

private:
    std::vector<_tQueryTerm> m_vecTerms;
};

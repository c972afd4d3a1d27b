// Turns a parsed query into one SQL statement over the catalogue: the
// standards when it names only their fields (Safety_Tiaowen, the title;
// Safety_Tiaowenhao, the number), the clause values when it names theirs
// (file_name, section_no, row_name, col_name; Safety_Tiaowenhao too).
#pragma once

#include <string>
#include <vector>

#include "SearchQuery.h"

// What a statement selects, in column order.
enum class ESearchTable { Standards, ClauseValues };

struct _tSearchSql {
    ESearchTable eTable = ESearchTable::Standards;
    std::string sSql;
    std::vector<std::string> vecParams;  // bound as texts, 1, 2, ...
};

class CSearchSql {
public:
    // False with sError for a field the catalogue does not know.
    static bool Build(const CSearchQuery& query, _tSearchSql& sql, std::string& sError);
};

// The check of one inspection-table row that cites a clause of a standard
// ("audit_standard_argument"): the cited text is read with the argument
// rule set (standard, clause, device, building, distance), the clause's
// value table is asked of the clause-value service, the cell that fits the
// device and building best gives the required value, and the row's values
// and verdict are compared with it.
#pragma once

#include <string>
#include <vector>

#include "RUX/StandardCitationCheck.h"

class CRUX;

class CStandardArgumentCheck {
public:
    // The values of one row (null where the row has none).
    struct _tRow {
        const _tKeyVal* pStandard = nullptr;  // the cited standard with its clause
        const _tKeyVal* pRealVal = nullptr;   // the measured value
        const _tKeyVal* pIsValid = nullptr;   // the verdict written in the table
        const _tKeyVal* pReqVal = nullptr;    // a required value the row states in a column of its own
    };
    // What the cited text and the document say about the case in question.
    struct _tArgument {
        std::string sTiaowen, sTiaowenhao, sSection, sDevice, sBuilding, sDistance, sUnit;
        std::string sLevel, sRecycle;  // from the document's own scan
        std::string sCited;            // the cited text itself
    };

    // pArgumentRUX: the argument rule set (null: the check fails).
    CStandardArgumentCheck(CStandardSearch& search, CRUX* pArgumentRUX, StandardFailureSink sink)
        : m_search(search), m_pArgumentRUX(pArgumentRUX), m_sink(std::move(sink))
    {
    }

    // sLevel, sRecycle: the document's "safety_level" and "safety_recycle".
    // Results as CStandardCitationCheck's.
    int Check(const _tRow& row, const std::string& sLevel, const std::string& sRecycle);

    // The cited text read with the argument rule set.
    bool ReadArgument(const std::string& sCited, _tArgument& argument) const;
    // How well an answer document (one cell of a clause's table) fits the
    // case: characters its row name shares with the device and its column
    // name with the building count double, with the level and the recycle
    // class once; characters of the names found in neither count against.
    static double ComputeSearchResultScore(const _tSearchDocument& document, const _tArgument& argument);
    // The first number written in a text ("≥ 9 m" gives 9); false when none.
    static bool FirstNumber(const std::string& sText, double& dValue);

private:
    void CompareRow(const _tRow& row, const _tArgument& argument, const _tSearchDocument& best);
    void CheckVerdict(const _tRow& row, double dRequired);

    CStandardSearch& m_search;
    CRUX* m_pArgumentRUX;
    StandardFailureSink m_sink;
};

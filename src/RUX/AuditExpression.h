// Evaluates the units of one audit expression rule with an operator stack
// and a value stack, by the operator levels of the audit language (smaller
// binds tighter). Numbers are doubles compared with a tolerance of 0.009.
// Values come from a context, so the evaluator knows no document.
//
// Operands: texts that begin with a digit, "+" or "-" are numbers (a
// following 万 or 亿 multiplies, thousands separators are dropped); other
// texts stay texts, which only "=", "!=" and the word operators accept.
// "in"/"not_in": the operand before is one of the "|"-separated items of
// the unit after; "substr"/"not_substr": the unit after occurs in the
// operand before; "integer" takes the integer part of what follows; "sum"
// adds the field after it over the rows of the current table.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "RUX/AuditRecords.h"

class CAuditExpression {
public:
    struct _tContext {
        // Printed form of a unit, for messages.
        std::function<std::string(const audit_rule_unit&)> unitText;
        // The document's value of a field; false (or "") when it has none.
        std::function<bool(int nField, std::string& sValue)> fieldValue;
        // The field summed over the current table's rows; false outside a table.
        std::function<bool(int nField, double& dSum)> tableSum;
    };

    // 1 when the rule holds, 0 when it does not (Expected() then proposes
    // a value when a relation failed), negative with Error() set:
    // -1 invalid expression, -2 sum outside a table, -3 unclosed bracket,
    // -4 arithmetic without two values, -5 invalid value, -6 logic without
    // operands, -7 no single final result.
    int Evaluate(const std::vector<audit_rule_unit>& vecUnits, const std::string& sRuleText,
                 const _tContext& context);
    const std::string& Error() const { return m_sError; }
    const std::string& Expected() const { return m_sExpected; }

    // Level of an operator, relation or logic word (0 for anything else).
    static int Level(const audit_rule_unit& unit);
    // A text read as a number; false when it does not begin with a digit,
    // "+" or "-".
    static bool ToNumber(const std::string& sText, double& dValue);

private:
    struct _tOperand {
        double num = 0;
        std::string text;
        bool bNumber = false;
        bool bFromDoc = false;
    };

    int Fail(int nCode, const std::string& sMessage);
    int Apply(const audit_rule_unit& op);
    int ApplyArithmetic(int nOp);
    int ApplyRelation(int nRel);
    int ApplyLogic(int nLogic);
    int WordOperator(int nOp, size_t& i);
    int ReduceWhile(int nLevel);
    int CloseBracket(const audit_rule_unit& unit);
    bool OperandText(const audit_rule_unit& unit, std::string& sText, bool& bFromDoc);
    void PushText(const std::string& sText, bool bFromDoc);
    void PushNumber(double d, bool bFromDoc);

    const std::vector<audit_rule_unit>* m_pUnits = nullptr;
    const _tContext* m_pContext = nullptr;
    std::string m_sRuleText;
    std::vector<audit_rule_unit> m_vecOps;
    std::vector<_tOperand> m_vecValues;
    std::string m_sError;
    std::string m_sExpected;
};

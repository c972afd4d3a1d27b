// The audit expression evaluator.
#include "RUX/AuditExpression.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "RUX/AuditValueChecks.h"
#include "RUX/RUXGrammer.h"

namespace {

const double kTolerance = 0.009;

bool IsOpen(const audit_rule_unit& u)
{
    return u.type == AUDIT_UNIT_OPERATOR && (u.val == AUDIT_OP_LPAREN || u.val == AUDIT_OP_LBRACKET);
}

bool IsPrefix(const audit_rule_unit& u)
{
    return (u.type == AUDIT_UNIT_LOGIC && u.val == AUDIT_LOGIC_NOT) ||
           (u.type == AUDIT_UNIT_OPERATOR && u.val == AUDIT_OP_INTEGER);
}

std::string Printed(double d)
{
    char s[64];
    std::snprintf(s, sizeof(s), "%.2lf", d);
    return s;
}

}  // namespace

int CAuditExpression::Level(const audit_rule_unit& u)
{
    if (u.type == AUDIT_UNIT_OPERATOR) {
        if (u.val >= AUDIT_OP_LPAREN && u.val <= AUDIT_OP_INTEGER)
            return 1;
        return u.val == AUDIT_OP_MUL || u.val == AUDIT_OP_DIV ? 3 : 4;
    }
    if (u.type == AUDIT_UNIT_RELATION)
        return u.val == AUDIT_REL_EQ || u.val == AUDIT_REL_NE ? 7 : 6;
    if (u.type == AUDIT_UNIT_LOGIC)
        return u.val == AUDIT_LOGIC_NOT ? 8 : u.val == AUDIT_LOGIC_AND ? 9 : 10;
    return 0;
}

bool CAuditExpression::ToNumber(const std::string& sText, double& dValue)
{
    if (sText.empty() || !(std::isdigit(static_cast<unsigned char>(sText[0])) || sText[0] == '+' || sText[0] == '-'))
        return false;
    dValue = ScaledNumberAt(sText, 0);
    return true;
}

int CAuditExpression::Fail(int nCode, const std::string& sMessage)
{
    m_sError = sMessage;
    return nCode;
}

void CAuditExpression::PushText(const std::string& sText, bool bFromDoc)
{
    _tOperand v;
    v.text = sText;
    v.bFromDoc = bFromDoc;
    v.bNumber = ToNumber(sText, v.num);
    m_vecValues.push_back(v);
}

void CAuditExpression::PushNumber(double d, bool bFromDoc)
{
    _tOperand v;
    v.num = d;
    v.bNumber = true;
    v.bFromDoc = bFromDoc;
    v.text = Printed(d);
    m_vecValues.push_back(v);
}

bool CAuditExpression::OperandText(const audit_rule_unit& unit, std::string& sText, bool& bFromDoc)
{
    bFromDoc = unit.type == AUDIT_UNIT_FIELD;
    sText.clear();
    if (unit.type == AUDIT_UNIT_CONSTANT) {
        sText = m_pContext->unitText(unit);
        return true;
    }
    if (unit.type == AUDIT_UNIT_FIELD)
        return m_pContext->fieldValue(unit.val, sText);
    return false;
}

int CAuditExpression::ApplyArithmetic(int nOp)
{
    if (m_vecValues.size() < 2)
        return Fail(-4, "Arithmetic computation needs two values @ " + m_sRuleText);
    _tOperand b = m_vecValues.back();
    m_vecValues.pop_back();
    _tOperand a = m_vecValues.back();
    m_vecValues.pop_back();
    if (!a.bNumber || !b.bNumber)
        return Fail(-5, "Invalid value at " + (a.bNumber ? b.text : a.text));
    double d = 0;
    switch (nOp) {
    case AUDIT_OP_ADD: d = a.num + b.num; break;
    case AUDIT_OP_SUB: d = a.num - b.num; break;
    case AUDIT_OP_MUL: d = a.num * b.num; break;
    default:
        if (std::fabs(b.num) < 1e-12)
            return Fail(-5, "Invalid value at " + b.text + " (division by zero)");
        d = a.num / b.num;
    }
    PushNumber(d, a.bFromDoc || b.bFromDoc);
    return 1;
}

int CAuditExpression::ApplyRelation(int nRel)
{
    if (m_vecValues.size() < 2)
        return Fail(-6, "Logic computation operand is not enough " + m_sRuleText);
    _tOperand b = m_vecValues.back();
    m_vecValues.pop_back();
    _tOperand a = m_vecValues.back();
    m_vecValues.pop_back();
    bool bHolds = false;
    if (a.bNumber && b.bNumber) {
        double d = a.num - b.num;
        bool bEqual = d > -kTolerance && d < kTolerance;
        bool bGreater = d >= kTolerance, bLess = d <= -kTolerance;
        switch (nRel) {
        case AUDIT_REL_EQ: bHolds = bEqual; break;
        case AUDIT_REL_GT: bHolds = bGreater; break;
        case AUDIT_REL_LT: bHolds = bLess; break;
        case AUDIT_REL_GE: bHolds = bGreater || bEqual; break;
        case AUDIT_REL_LE: bHolds = bLess || bEqual; break;
        default: bHolds = !bEqual;
        }
        if (!bHolds)
            m_sExpected = Printed(b.bFromDoc && !a.bFromDoc ? a.num : b.num);
    } else if (nRel == AUDIT_REL_EQ || nRel == AUDIT_REL_NE) {
        bHolds = (TextStandard(a.text) == TextStandard(b.text)) == (nRel == AUDIT_REL_EQ);
        if (!bHolds && nRel == AUDIT_REL_EQ)
            m_sExpected = b.bFromDoc && !a.bFromDoc ? a.text : b.text;
    } else {
        return Fail(-5, "Invalid value at " + (a.bNumber ? b.text : a.text));
    }
    PushNumber(bHolds ? 1 : 0, false);
    return 1;
}

int CAuditExpression::ApplyLogic(int nLogic)
{
    auto truth = [](const _tOperand& v) { return v.bNumber ? std::fabs(v.num) > 1e-12 : !v.text.empty(); };
    if (nLogic == AUDIT_LOGIC_NOT) {
        if (m_vecValues.empty())
            return Fail(-6, "Logic computation operand is not enough " + m_sRuleText);
        bool b = truth(m_vecValues.back());
        m_vecValues.pop_back();
        PushNumber(b ? 0 : 1, false);
        return 1;
    }
    if (m_vecValues.size() < 2)
        return Fail(-6, "Logic computation operand is not enough " + m_sRuleText);
    bool b = truth(m_vecValues.back());
    m_vecValues.pop_back();
    bool a = truth(m_vecValues.back());
    m_vecValues.pop_back();
    PushNumber((nLogic == AUDIT_LOGIC_AND ? (a && b) : (a || b)) ? 1 : 0, false);
    return 1;
}

int CAuditExpression::Apply(const audit_rule_unit& op)
{
    if (op.type == AUDIT_UNIT_RELATION)
        return ApplyRelation(op.val);
    if (op.type == AUDIT_UNIT_LOGIC)
        return ApplyLogic(op.val);
    if (op.type == AUDIT_UNIT_OPERATOR && op.val >= AUDIT_OP_ADD && op.val <= AUDIT_OP_DIV)
        return ApplyArithmetic(op.val);
    if (op.type == AUDIT_UNIT_OPERATOR && op.val == AUDIT_OP_INTEGER) {
        if (m_vecValues.empty() || !m_vecValues.back().bNumber)
            return Fail(-1, "Invalid expression at " + m_pContext->unitText(op));
        _tOperand v = m_vecValues.back();
        m_vecValues.pop_back();
        PushNumber(std::trunc(v.num), v.bFromDoc);
        return 1;
    }
    return Fail(-1, "Invalid expression at " + m_pContext->unitText(op));
}

int CAuditExpression::ReduceWhile(int nLevel)
{
    while (!m_vecOps.empty() && !IsOpen(m_vecOps.back()) && Level(m_vecOps.back()) <= nLevel) {
        audit_rule_unit op = m_vecOps.back();
        m_vecOps.pop_back();
        int n = Apply(op);
        if (n < 0)
            return n;
    }
    return 1;
}

int CAuditExpression::CloseBracket(const audit_rule_unit& unit)
{
    int nOpen = unit.val == AUDIT_OP_RPAREN ? AUDIT_OP_LPAREN : AUDIT_OP_LBRACKET;
    while (!m_vecOps.empty() && !IsOpen(m_vecOps.back())) {
        audit_rule_unit op = m_vecOps.back();
        m_vecOps.pop_back();
        int n = Apply(op);
        if (n < 0)
            return n;
    }
    if (m_vecOps.empty() || m_vecOps.back().val != nOpen)
        return Fail(-1, "Invalid expression at " + m_pContext->unitText(unit));
    m_vecOps.pop_back();
    return 1;
}

int CAuditExpression::WordOperator(int nOp, size_t& i)
{
    const std::vector<audit_rule_unit>& units = *m_pUnits;
    const audit_rule_unit& op = units[i];
    if (i + 1 >= units.size())
        return Fail(-1, "Invalid expression at " + m_pContext->unitText(op));
    const audit_rule_unit& next = units[++i];
    if (nOp == AUDIT_OP_SUM) {
        double dSum = 0;
        if (next.type != AUDIT_UNIT_FIELD)
            return Fail(-1, "Invalid expression at " + m_pContext->unitText(next));
        if (!m_pContext->tableSum(next.val, dSum))
            return Fail(-2, "sum operator must be process table " + m_pContext->unitText(op));
        PushNumber(dSum, true);
        return 1;
    }
    std::string sRight;
    bool bFromDoc = false;
    if (!OperandText(next, sRight, bFromDoc) || m_vecValues.empty())
        return Fail(-1, "Invalid expression at " + m_pContext->unitText(op));
    _tOperand left = m_vecValues.back();
    m_vecValues.pop_back();
    bool bHolds = false;
    if (nOp == AUDIT_OP_IN || nOp == AUDIT_OP_NOT_IN) {
        for (const std::string& sItem : SplitString(sRight, "|"))
            bHolds = bHolds || TextStandard(sItem) == TextStandard(left.text);
        bHolds = bHolds == (nOp == AUDIT_OP_IN);
    } else {
        bHolds = (left.text.find(sRight) != std::string::npos) == (nOp == AUDIT_OP_SUBSTR);
    }
    PushNumber(bHolds ? 1 : 0, false);
    return 1;
}

int CAuditExpression::Evaluate(const std::vector<audit_rule_unit>& vecUnits, const std::string& sRuleText,
                               const _tContext& context)
{
    m_pUnits = &vecUnits;
    m_pContext = &context;
    m_sRuleText = sRuleText;
    m_vecOps.clear();
    m_vecValues.clear();
    m_sError.clear();
    m_sExpected.clear();
    for (size_t i = 0; i < vecUnits.size(); ++i) {
        const audit_rule_unit& unit = vecUnits[i];
        int n = 1;
        if (unit.type == AUDIT_UNIT_CONSTANT || unit.type == AUDIT_UNIT_FIELD) {
            std::string sText;
            bool bFromDoc = false;
            if (!OperandText(unit, sText, bFromDoc) || sText.empty())
                return Fail(-5, "Invalid value at " + context.unitText(unit));
            PushText(sText, bFromDoc);
        } else if (unit.type == AUDIT_UNIT_OPERATOR && unit.val >= AUDIT_OP_IN && unit.val <= AUDIT_OP_SUM) {
            n = WordOperator(unit.val, i);
        } else if (IsOpen(unit) || IsPrefix(unit)) {
            m_vecOps.push_back(unit);
        } else if (unit.type == AUDIT_UNIT_OPERATOR && (unit.val == AUDIT_OP_RPAREN || unit.val == AUDIT_OP_RBRACKET)) {
            n = CloseBracket(unit);
        } else if (Level(unit) > 0) {
            n = ReduceWhile(Level(unit));
            m_vecOps.push_back(unit);
        } else {
            n = Fail(-1, "Invalid expression at " + context.unitText(unit));
        }
        if (n < 0)
            return n;
    }
    while (!m_vecOps.empty()) {
        audit_rule_unit op = m_vecOps.back();
        m_vecOps.pop_back();
        if (IsOpen(op))
            return Fail(-3, "Left bracket '(' or '[' connot matched @ " + sRuleText);
        int n = Apply(op);
        if (n < 0)
            return n;
    }
    if (m_vecValues.size() != 1)
        return Fail(-7, "Cannot get the final result. Invalid expression at " + sRuleText);
    const _tOperand& result = m_vecValues.back();
    bool bHolds = result.bNumber ? std::fabs(result.num) > 1e-12 : !result.text.empty();
    return bHolds ? 1 : 0;
}

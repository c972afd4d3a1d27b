// Records of the audit rules: a rule as written, its compiled units, the
// tables of commands, operators and logic words, and the plain failure
// record the evaluator hands up to the checks (which turn it into findings).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "RUX/RUXRecords.h"

// A rule as written in a rule source or a JSON rule.
struct _tAuditRuleOrg {
    std::string no;
    std::string name;
    std::string rule;
    std::string arguments;  // ";"-separated
    std::string field;      // field names, separated by ";" or ","
    int credit = 0;
};

// Unit kinds of a compiled rule.
enum {
    AUDIT_UNIT_COMMAND = 1,
    AUDIT_UNIT_FIELD = 2,
    AUDIT_UNIT_OPERATOR = 3,
    AUDIT_UNIT_RELATION = 4,
    AUDIT_UNIT_LOGIC = 5,
    AUDIT_UNIT_CONSTANT = 6
};

// Operator values (kind 3), relations (kind 4) and logic words (kind 5).
enum {
    AUDIT_OP_ADD = 1,
    AUDIT_OP_SUB = 2,
    AUDIT_OP_MUL = 3,
    AUDIT_OP_DIV = 4,
    AUDIT_OP_LPAREN = 5,
    AUDIT_OP_RPAREN = 6,
    AUDIT_OP_LBRACKET = 7,
    AUDIT_OP_RBRACKET = 8,
    AUDIT_OP_IN = 9,
    AUDIT_OP_NOT_IN = 10,
    AUDIT_OP_SUBSTR = 11,
    AUDIT_OP_NOT_SUBSTR = 12,
    AUDIT_OP_SUM = 13,
    AUDIT_OP_INTEGER = 14,
    AUDIT_REL_EQ = 100,
    AUDIT_REL_GT = 101,
    AUDIT_REL_LT = 102,
    AUDIT_REL_GE = 103,
    AUDIT_REL_LE = 104,
    AUDIT_REL_NE = 105,
    AUDIT_LOGIC_AND = 1000,
    AUDIT_LOGIC_OR = 1001,
    AUDIT_LOGIC_NOT = 1002
};

// Command ids (kind 1). Ids up to 8 are the standard commands; the credit
// code check is ours.
enum {
    AUDIT_CMD_NOT_NULL = 0,
    AUDIT_CMD_UNIQUE = 1,
    AUDIT_CMD_NUM_CHECK = 2,
    AUDIT_CMD_NUM_CHINESE = 3,
    AUDIT_CMD_UNIQUE_TUPLE = 4,
    AUDIT_CMD_STANDARD_ID = 5,
    AUDIT_CMD_STANDARD_ARGUMENT = 6,
    AUDIT_CMD_DATE = 7,
    AUDIT_CMD_PERSON_ID = 8,
    AUDIT_CMD_CREDIT_CODE = 9,
    AUDIT_CMD_COUNT = 10
};

// A field unit whose value is the named field of the current tuple.
const int kAuditTupleField = -100;

struct audit_rule_unit {
    int32_t type = 0;
    int32_t val = 0;
};

// A compiled rule.
struct _tAuditRule {
    uint32_t no_id = 0;
    int32_t credit = 0;
    uint32_t name_id = 0;
    std::vector<int> arguments_id;  // string-pool ids
    std::vector<int> fields_id;     // attribute ids (-1 for a name the extraction rules do not know)
    uint32_t rules_count = 0;
    std::vector<audit_rule_unit> rules;
    int32_t frequency = 0;
};

// One failed audit, as the evaluator reports it; the checks make a finding
// of it with the catalogue's message when `message` is empty.
struct _tAuditFailure {
    std::string code;
    std::string message;
    uint32_t para_id = 0;
    uint32_t offset = 0;
    std::string org_str;
    std::string new_str;
    uint32_t new_para_id = 0;
    char revise = 'U';     // 'U' update, 'D' delete, 'I' insert, 'C' change after new_para_id
    std::string text;      // paragraph text
    std::string rule_no;   // the audit or extraction rule behind it
};

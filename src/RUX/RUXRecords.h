// The records of a rule: the parsed form that analysts edit and the compiled
// form, whose words, strings and lists are numbers into the rule store's
// pools and dictionaries, plus the postings of the word index.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Action ids of the built-in table; ids from kCustomActionBase name a
// custom action by the pool offset of its name.
enum {
    RUX_ACTION_INSERT = 0,
    RUX_ACTION_EXTRACT = 3,
    RUX_ACTION_COUNTRY_EXTRACT = 12,
    RUX_ACTION_GENERATE_TUPLE = 14,
    RUX_ACTION_GENERATE_SINGLEKEY = 15,
    RUX_ACTION_GENERATE_DATE = 16,
    RUX_ACTION_COUNT = 17
};
const int kCustomActionBase = RUX_ACTION_COUNT;
// Scope ids; from kAttributeFieldBase a scope names an attribute.
const int RUX_FIELD_COUNT = 11;
const int kAttributeFieldBase = RUX_FIELD_COUNT;
// The flag bytes of a knowledge-graph setting (bytes 1 to 7 are used).
const int RUX_KG_TYPE_SIZE = 9;

// ---- parsed rules ----

struct _tBlockOrg {
    std::vector<std::string> vecElems;  // any one of them may match a token
    int is_not = 0;                     // matches a token none of them matches
};

struct _tGridOrg {
    std::vector<_tBlockOrg> vecBlocks;
    std::vector<int> vecRepeats;  // per block; 0 makes the block optional
    std::vector<int> vecSteps;    // per block; -1 for a grid without brackets
    int is_selected = 0;          // the grid's text is a value to extract
};

struct _tKnowledgeOrg {
    std::string text;  // the pattern after whitespace compaction
    std::vector<_tGridOrg> vecGrids;
    std::vector<int> vecSteps;  // the step written after each grid
};

struct _tField2KG {
    std::string field_name;
    unsigned char type[RUX_KG_TYPE_SIZE] = {0};
};

struct _tRuleOrg {
    std::string no;  // as written, not normalised
    _tKnowledgeOrg rule;
    int action_id = 0;
    std::vector<std::string> arguments;
    std::vector<_tField2KG> vecField2KG;
    std::vector<std::string> vecKeyname;  // fields flagged "keyword", in order
    std::string sField;
    int credit = 0;
    int frequency = 1;
    std::string name;
};

// ---- compiled rules ----

// A list in the int pool: entries start .. end-1.
struct _tIntArray {
    int32_t start = 0;
    int32_t end = 0;
    int32_t size() const { return end - start; }
};

struct _tBlock {
    _tIntArray elems;  // word ids, or complements of attribute ids
    int32_t is_not = 0;
};

struct _tGrid {
    int32_t blocks_count = 0;
    std::vector<_tBlock> blocks;
    _tIntArray repeats;
    _tIntArray steps;
    int32_t is_selected = 0;
};

struct _tKnowledge {
    int32_t grid_count = 0;
    std::vector<_tGrid> grids;
    _tIntArray steps;
    int32_t text_id = -1;
};

struct _tFieldID2KG {
    int32_t field_name_id = -1;  // attribute id
    unsigned char type[RUX_KG_TYPE_SIZE] = {0};
};

struct _tRule {
    int32_t rule_no_id = -1;
    _tKnowledge knowledge;
    int32_t action_id = 0;
    _tIntArray arguments_id;  // literal string ids, or complements of attribute ids
    _tIntArray RegExs_id;     // per argument: string id of its format, or -1
    int32_t nField2KGCount = 0;
    std::vector<_tFieldID2KG> pField2KG;
    _tIntArray keys_id;  // complements of the attribute ids of keyword fields
    int32_t name_id = -1;
    int32_t credit = 0;
    int32_t frequency = 1;
    int32_t field = 0;
};

struct _tRUXIndexData {
    int32_t knowledge_index = 0;  // rule index
    int32_t grid_index = 0;
    int32_t block_index = 0;
    int32_t back_count = 0;  // most tokens between the match start and this block
    _tIntArray skiplist;     // rules contained in this posting's rule
};

struct _tRUXIndex {
    int32_t df = 0;
    std::vector<_tRUXIndexData> pData;
};

// Records the matching engine produces: tokens of a scanned paragraph, hits,
// knowledge-graph records, table head entries and two-headed table cells.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One token of the current paragraph.
struct _tRUXScanResult {
    int word_id = -1;  // rule-dictionary id of the word, else of "/tag", else negative
    std::string word;
    std::string pos;  // the tag with its leading "/"
    int offset = 0;   // byte offset of the word in the walk (markup not counted)
};

// One hit of a rule.
struct _tRUX_Result {
    int rule_index = -1;
    std::string rule_no;
    std::string action;
    std::vector<std::string> arguments;
    int credit = 0;
    int frequency = 1;
    std::vector<uint32_t> vecSelectedParaId;
    std::vector<uint32_t> vecSelectedOffset;
    std::vector<std::string> vecSelected;
    uint32_t para_id = 0;
    uint32_t offset = 0;
    std::string org_para_text;

    void AddSelected(const std::string& sValue, uint32_t nParaId, uint32_t nOffset)
    {
        vecSelected.push_back(sValue);
        vecSelectedParaId.push_back(nParaId);
        vecSelectedOffset.push_back(nOffset);
    }
    void ClearSelected()
    {
        vecSelected.clear();
        vecSelectedParaId.clear();
        vecSelectedOffset.clear();
    }
};

struct _tEntityAttrVal {
    std::string entity, attribute, val;
    bool empty() const { return entity.empty() && attribute.empty() && val.empty(); }
};

struct _tHeadRelTail {
    std::string head, relation, tail;
    bool empty() const { return head.empty() && relation.empty() && tail.empty(); }
};

// One data cell of a two-headed table.
struct _tTableArgument {
    std::string file_name, section_no, section_name, row_name, col_name, value;
};

// One head entry of a table and the rule grid (argument) it maps to.
struct _tTableItem {
    std::string item_name;
    int index = -1;
};

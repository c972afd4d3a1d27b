// One extracted value: the unit of data the rule engine hands to the
// document model (template selection) and to the checks.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

struct _tKeyVal {
    uint32_t para_id = 0;
    uint32_t offset = 0;
    int key_name_id = -1;  // attribute id of the key, -1 for none
    std::string key_value;
    std::string org_para_text;
    std::string rule_used;  // the rule number

    _tKeyVal() = default;
    _tKeyVal(int nKeyId, std::string sValue, uint32_t nParaId, uint32_t nOffset,
             std::string sParaText, std::string sRule)
        : para_id(nParaId), offset(nOffset), key_name_id(nKeyId), key_value(std::move(sValue)),
          org_para_text(std::move(sParaText)), rule_used(std::move(sRule))
    {
    }
    void reset() { *this = _tKeyVal(); }
};

using KEY_VAL = _tKeyVal;

// One finding of a check (_tCheckResult): where it is, which error code,
// what is wrong and what the reviser should do about it.
#pragma once

#include <cstdint>
#include <string>

namespace Json {
class Value;
}

// field_id values: which property of the paragraph is wrong.
enum { FIELD_FONT = 0, FIELD_FONTSIZE, FIELD_TEXT, FIELD_LEVEL, FIELD_LINE_SPACE, FIELD_CONTENT };
// revise_type values: the letters "I", "U", "D", "C", "M".
enum { REVISE_I = 0, REVISE_U, REVISE_D, REVISE_C, REVISE_M };

struct _tCheckResult {
    int page_num = 0;
    uint32_t para_id = 0;
    uint32_t offset = 0;
    std::string error_id;
    std::string error_msg;  // filled from the catalogue when empty
    std::string text;       // paragraph text; not read back from files
    int field_id = FIELD_TEXT;
    std::string org_str;
    int revise_type = REVISE_U;
    std::string new_str;
    uint32_t new_para_id = 0;  // paragraph a change refers to (type C)

    // Clears everything but error_id and text, so a caller can add several
    // findings of one code and paragraph in a row.
    void Reset();
    // By paragraph, then offset.
    bool operator<(const _tCheckResult& other) const;
    // Same place, field and code, and the same original text (or, when this
    // one has none, the same proposed text).
    bool operator==(const _tCheckResult& other) const;

    // Appends the "<check>" element (values escaped).
    void output(std::string& sResult) const;
    void outputJson(Json::Value& result) const;
    // Reads one finding that starts at sLine and ends at the first
    // "</check>" (XML) or "}" (JSON, compact "name":"value" items).
    void input(const char* sLine, bool bJson);
    // Reads one finding object of a parsed JSON result, whether its values
    // are typed (as outputJson writes them) or all strings.
    void inputJson(const Json::Value& record);

    static const char* FieldName(int nFieldId);   // "font" ... "content", "" when invalid
    static char ReviseLetter(int nReviseType);    // 'I' ... 'M', '?' when invalid
    static int FieldFromName(const std::string& sName, int nDefault);
    static int ReviseFromLetter(const std::string& sLetter, int nDefault);
};

// Heading-numbering records: the numbering pattern of a kind of heading
// (kept in templates) and the number read from one heading.
#pragma once

#include <cstdint>
#include <string>

// Numbering styles, the values of num_format and chapter_format.
enum : int {
    NUM_STYLE_NONE = -1,
    NUM_STYLE_DIGIT = 0,              // 0-9
    NUM_STYLE_FULLWIDTH_DIGIT = 1,    // ０-９
    NUM_STYLE_CHINESE = 2,            // 一二三 ... 十百千万亿 and the upper-case forms
    NUM_STYLE_CHINESE_UPPER = 3,      // 壹贰叁; only ever produced, never read
    NUM_STYLE_ROMAN_UPPER = 6,        // I V X
    NUM_STYLE_ROMAN_LOWER = 7,        // i v x
    NUM_STYLE_PARENTHESISED = 9,      // ⑴-⒇
    NUM_STYLE_CIRCLED = 10,           // ①-⑩
    NUM_STYLE_PAREN_IDEOGRAPH = 11,   // ㈠-㈩
    NUM_STYLE_FULLWIDTH_UPPER = 12,   // Ａ-Ｚ
    NUM_STYLE_FULLWIDTH_LOWER = 13,   // ａ-ｚ
    NUM_STYLE_HEAVENLY_STEM = 14      // 甲乙丙丁戊己庚辛壬癸; recognised, but carry no value
};

// What section_type says when the reader chose it itself (mode -1).
enum : int {
    SECTION_TYPE_HEADING = 0,
    SECTION_TYPE_FIGURE = 1,   // the prefix holds 图
    SECTION_TYPE_TABLE = 2,    // the prefix holds 表
    SECTION_TYPE_FORMULA = 3   // passed in by callers reading formula numbers
};

// A heading-numbering pattern. prefix, section_sep and post are GBK bytes
// (templates keep them so); sample is in the encoding the text came in.
struct _tSection_Format {
    std::string prefix;         // text before the number, e.g. 第 or （
    int chapter_format = -1;    // style of the chapter part, -1 when none
    std::string section_sep;    // between chapter part and number: . - － ·
    int num_format = -1;        // style of the number, -1 when no number
    std::string post;           // one character ending the number: 章 、 ）...
    int level = 0;              // separators inside the number; -1 = in brackets
    int section_type = 0;       // SECTION_TYPE_* or, in templates, a level code
    std::string sample;         // the trimmed heading text

    // Same numbering: style, chapter style, level, separator, post and prefix
    // all equal (section_type and sample do not count).
    bool IsSameFormat(const _tSection_Format& pattern) const
    {
        return num_format == pattern.num_format && chapter_format == pattern.chapter_format
            && level == pattern.level && section_sep == pattern.section_sep
            && post == pattern.post && prefix == pattern.prefix;
    }
};

// The number read from one heading, and what an order check made of it.
// text and chapter_id are GBK bytes like the pattern fields; textNew is in
// the encoding of the CNumUtility that set it (UTF-8 for a UTF-8 utility).
struct _tSection_Info : _tSection_Format {
    std::string text;           // the number as written (last group once a chapter part is split off)
    int order = 0;              // its value; 0 or less when there is none
    uint32_t para_id = 0;       // the paragraph it came from
    std::string chapter_id;     // the chapter part: 1.2 of 1.2.3
    int orderNew = 0;           // corrected value; -138 marks a missing number
    std::string textNew;        // corrected number text
    std::string error_id;       // finding code: "1.3.6", "1.3.8", "1.3.10"
};

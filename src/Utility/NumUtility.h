// Heading numbers: reads the number of a heading, caption, formula or
// reference (1.2.3, 第三章, （二）, ㈠, ⑤, IV, 图2-1) into a section record,
// writes a number in any style, and checks a list of headings for a gap-free
// order, proposing the corrected text of each heading in error.
//
// Characters are examined as GBK bytes. A utility made with bUTF8 set takes
// heading texts in UTF-8 and returns the texts it produces (GenerateNum,
// textNew) in UTF-8; the record fields prefix, section_sep, post, text and
// chapter_id always hold GBK bytes, the form templates keep them in.
#pragma once

#include <string>
#include <vector>

#include "Utility/SectionFormat.h"

class CNumUtility {
public:
    explicit CNumUtility(bool bUTF8 = true);

    // Empties the list and the list pattern; m_nFormat becomes -1.
    void Reset();

    // The style (NUM_STYLE_*) of the first GBK character of ch and its value
    // in `value`; -1 when it is no number character. Heavenly stems give
    // NUM_STYLE_HEAVENLY_STEM with value -2.
    static int GetNumFormat(const char* ch, int& value);
    // True when the first GBK character of ch may end a number:
    // ) . : ] 章 节 ） 、 ： 】
    static bool IsValidNumPostfix(const char* ch);
    // The first GBK character of sText (one byte below 0x80, else two) into
    // sChar; returns its byte length, 0 at the end of the text.
    static int Getchar(const char* sText, std::string& sChar);

    // Reads the number of one heading into info (reset first). nType -1 lets
    // the reader choose section_type from the prefix (图 1, 表 2, else 0);
    // callers reading formula numbers pass 3. Returns the num_format found,
    // -1 when the text carries no number (prefix then holds its first bytes).
    // The first numbered text read sets the list pattern (m_nFormat ...).
    int ExtractOrder(const char* text, _tSection_Info& info, int nType);

    // Reads text (mode -1) and appends the record with para_id to the list;
    // an empty or null text is ignored.
    void AddSections(const char* text, unsigned para_id);
    // Appends a record already read, with para_id set.
    void AddSections(_tSection_Info& info, unsigned para_id);

    // The number text of value in style; empty for a style it cannot write
    // or a value outside the style's range. Valid until the next call.
    const char* GenerateNum(int value, int style);

    // Rewrites info's number in the template pattern:
    // textNew = pattern.prefix + info.chapter_id + pattern.section_sep +
    // number of info.order in pattern.num_format, + pattern.post when
    // pattern.section_type is 1, -510 or -512. Returns textNew.
    const char* SetNewSectionNo(_tSection_Info& info, const _tSection_Format& pattern);
    // textNew = (prefix or info.prefix) + (chapter or info.chapter_id) +
    // info.section_sep + number in style (info.num_format when style is -1)
    // + (post or info.post). The number is value, or info.orderNew when value
    // is -1, or info.order when that is 0. A null text means "take info's";
    // an empty one means "none". Texts are GBK bytes. Returns textNew.
    const char* SetNewSectionNo(_tSection_Info& info, int value, const char* prefix,
                                const char* chapter, int style, const char* post);

    // Checks the list for a gap-free order and sets error_id, orderNew and
    // textNew on each record in error: "1.3.6" wrong number, "1.3.8" missing
    // number (orderNew -138), "1.3.10" wrong chapter part.
    // nDirection < 0 accepts a number repeated once (counter minus one) and
    //   stops at the first record without a number;
    // nStart > 0 is the number the list must begin with (-1: any);
    // sChapter (GBK, may be null) is the chapter part every record must
    //   begin with; without it the list's majority chapter part is used.
    // Always returns 1.
    int CheckOrder(int nDirection, int nStart, const char* sChapter);

    // Sets the list pattern (style, prefix, post, chapter part, separator)
    // to the most frequent values among the numbered records of the list.
    void FindRightFormat();

    std::vector<_tSection_Info>& GetOrders() { return m_vecOrders; }
    const std::vector<_tSection_Info>& GetOrders() const { return m_vecOrders; }
    int GetFormat() const { return m_nFormat; }
    const std::string& GetPrefix() const { return m_sPrefix; }
    const std::string& GetPostfix() const { return m_sPostfix; }
    const std::string& GetChapterId() const { return m_chapter_id; }
    const std::string& GetSectionSep() const { return m_section_sep; }
    bool IsUTF8() const { return m_bUTF8; }

private:
    struct _tExpect;  // the run being checked in CheckOrder

    void ReadNumber(const std::string& sGbk, size_t nPos, _tSection_Info& info);
    void ReadDecimal(_tSection_Info& info);
    std::string GenerateNumGbk(long long value, int style) const;
    std::string ToCaller(const std::string& sGbk) const;
    const char* ComposeNumber(_tSection_Info& info, const std::string& sPrefix,
                              const std::string& sChapter, const std::string& sSep,
                              long long value, int style, const std::string& sPost);
    bool HasNumberAfter(size_t nIndex) const;
    void MarkMissing(_tSection_Info& info, long long nNumber, const _tExpect& expect);
    long long StartAt(size_t nFirst, int nStart, const _tExpect& expect);
    bool CheckChapter(_tSection_Info& info, const char* sChapter);

    int m_nFormat = -1;
    std::string m_sPrefix;
    std::string m_sPostfix;
    std::string m_chapter_id;
    std::string m_section_sep;
    bool m_bUTF8;
    std::string m_sResult;
    std::vector<_tSection_Info> m_vecOrders;
};

// The surname and suffix lists that name the kind of an unknown word. The
// surnames are the common ones, less those that are far more often a
// function word (于, 和, 向 ...), since a guessed word starting with one of
// those is more likely two words glued than a name.
#include "Segmenter/UnknownWords.h"

#include <cstring>

namespace {

const size_t kCharBytes = 3;  // the characters in question all take three bytes in UTF-8

const char* const kSurnames =
    "王李张刘陈杨黄赵吴周徐孙马朱胡郭何林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董潘袁蔡蒋余杜叶程魏苏吕丁任卢姚沈钟"
    "姜崔谭陆范汪廖石金贾夏韦付傅邱秦侯邹熊孟龚薛阎雷黎史贺顾毛郝龙邵钱孔段汤尹易常武乔赖庞樊殷颜倪严牛温"
    "芦俞覃葛柴聂章鲁莫翟岳戴伍江柳裴施洪邢霍褚窦骆祝";
const char* const kCompoundSurnames[] = {"欧阳", "司马", "上官", "诸葛", "东方", "皇甫", "尉迟", "公孙", "慕容", "令狐",
                                         "夏侯", "长孙", "宇文", "司徒", "端木", "独孤", "南宫", "呼延", "轩辕", nullptr};
const char* const kPlaceChars = "省市县区镇乡村路街州旗屯庄湾岛港";
const char* const kPlaceWords[] = {"自治区", "自治州", "自治县", "开发区", "高新区", "新区", "街道", "大街", "大道",
                                   "公路", "小区", "社区", "地区", "园区", nullptr};
const char* const kOrganisationWords[] = {
    "公司", "有限公司", "有限责任公司", "股份有限公司", "股份公司", "集团", "集团公司", "大学", "学院", "研究所",
    "研究院", "研究中心", "设计院", "医院", "银行", "中学", "小学", "学校", "委员会", "协会", "学会", "基金会",
    "事务所", "出版社", "实验室", "局", nullptr};

// Whether the three bytes at p are one of the characters of sChars.
bool IsOneOf(const unsigned char* p, const char* sChars)
{
    for (const char* pChar = sChars; *pChar; pChar += kCharBytes)
        if (std::memcmp(p, pChar, kCharBytes) == 0)
            return true;
    return false;
}

bool IsWordOf(const unsigned char* pWord, size_t nLen, const char* const* pWords)
{
    for (; *pWords; ++pWords)
        if (std::strlen(*pWords) == nLen && std::memcmp(pWord, *pWords, nLen) == 0)
            return true;
    return false;
}

// The byte length of the surname pWord starts with, 0 for none.
size_t SurnameBytes(const unsigned char* pWord, size_t nLen)
{
    for (const char* const* p = kCompoundSurnames; *p; ++p)
        if (nLen > 2 * kCharBytes && std::memcmp(pWord, *p, 2 * kCharBytes) == 0)
            return 2 * kCharBytes;
    return IsOneOf(pWord, kSurnames) ? kCharBytes : 0;
}

}  // namespace

const char* GuessedWordTag(const unsigned char* pWord, size_t nLen)
{
    if (nLen < 2 * kCharBytes || nLen % kCharBytes != 0)
        return "x";
    if (IsOneOf(pWord + nLen - kCharBytes, kPlaceChars))
        return "ns";
    size_t nSurname = SurnameBytes(pWord, nLen);
    size_t nGiven = nSurname ? (nLen - nSurname) / kCharBytes : 0;
    if (nGiven == 1 || nGiven == 2)
        return "nr";
    return "x";
}

const char* SuffixWordTag(const unsigned char* pWord, size_t nLen)
{
    if (IsWordOf(pWord, nLen, kOrganisationWords))
        return "nt";
    if ((nLen == kCharBytes && IsOneOf(pWord, kPlaceChars)) || IsWordOf(pWord, nLen, kPlaceWords))
        return "ns";
    return nullptr;
}

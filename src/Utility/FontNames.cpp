// The English and edition names of the common Chinese faces.
#include "Utility/FontNames.h"

#include <strings.h>

namespace {

struct _tFontAlias {
    const char* sAlias;
    const char* sName;
};

const _tFontAlias kAliases[] = {
    {"SimSun", "宋体"},           {"NSimSun", "新宋体"},
    {"SimHei", "黑体"},
    {"KaiTi", "楷体"},            {"KaiTi_GB2312", "楷体"},
    {"楷体_GB2312", "楷体"},      {"FangSong", "仿宋"},
    {"FangSong_GB2312", "仿宋"},  {"仿宋_GB2312", "仿宋"},
    {"Microsoft YaHei", "微软雅黑"}, {"DengXian", "等线"},
    {"LiSu", "隶书"},             {"YouYuan", "幼圆"},
    {"STSong", "华文宋体"},       {"STKaiti", "华文楷体"},
    {"STHeiti", "华文黑体"},      {"STFangsong", "华文仿宋"},
    {"STZhongsong", "华文中宋"},  {"FZXiaoBiaoSong-B05S", "方正小标宋简体"},
};

}  // namespace

std::string CanonicalFontName(const std::string& sFont)
{
    for (const _tFontAlias& alias : kAliases) {
        // English names are written in any case ("simsun" in some WPS files).
        if (strcasecmp(sFont.c_str(), alias.sAlias) == 0)
            return alias.sName;
    }
    return sFont;
}

bool IsSameFont(const std::string& sA, const std::string& sB)
{
    return sA == sB || CanonicalFontName(sA) == CanonicalFontName(sB);
}

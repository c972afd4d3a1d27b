// The major and minor fonts of a document's theme (word/theme/theme1.xml),
// which run properties name through w:asciiTheme, w:eastAsiaTheme and
// w:hAnsiTheme instead of naming a font.
#pragma once

#include <string>
#include <string_view>

class CThemeFonts {
public:
    // Reads a:majorFont and a:minorFont of the theme text. sScript is the
    // script whose a:font entry stands in for an empty a:ea ("Hans" for a
    // document in simplified Chinese).
    void Read(std::string_view sThemeXml, std::string_view sScript);
    void Clear();

    // The font a theme font name stands for ("minorEastAsia" -> 宋体);
    // empty for an unknown name or a font the theme leaves empty.
    const std::string& Font(std::string_view sThemeName) const;

    // The theme script of an East Asian language tag (w:themeFontLang
    // w:eastAsia): zh-TW, zh-HK and zh-MO are "Hant", ja "Jpan", ko "Hang",
    // anything else "Hans".
    static std::string_view ScriptOfLanguage(std::string_view sLanguage);

private:
    struct _tFontScheme {
        std::string sLatin;
        std::string sEastAsia;  // a:ea, else the script's a:font
        std::string sComplex;   // a:cs
    };
    static void ReadScheme(std::string_view sBlock, std::string_view sScript, _tFontScheme& scheme);

    _tFontScheme m_major;
    _tFontScheme m_minor;
};

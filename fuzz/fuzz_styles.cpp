// Fuzz target: the readers of styles.xml, of a theme and of the
// relationship table, and a run resolved through the styles read, on
// arbitrary text.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Docx/RelationReader.h"
#include "Docx/StyleReader.h"
#include "Docx/StyleSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    CStyleSheet sheet;
    sheet.ReadTheme(sText, sText.substr(0, 5));
    sheet.ReadStyles(sText);
    std::vector<_tParagraph> vecStyles;
    std::map<std::string, _tParagraph> mapStyles;
    std::map<std::string, int> mapLevels;
    CStyleReader::ExtractStyles(sText, sheet, vecStyles, mapStyles, mapLevels);
    std::string sStyleId = mapStyles.empty() ? std::string() : mapStyles.begin()->first;
    _tRunProps own;
    CStyleSheet::ReadRunProps(sText, 0, sText.size(), own);
    sheet.ResolveRun(sStyleId, sStyleId, own);
    sheet.ResolveLine(sStyleId, _tLineProps());
    std::map<std::string, _tRelationInfo> mapRelations;
    CRelationReader::ReadRelations(sText, CRelationReader::TypeNames(), mapRelations);
    return 0;
}

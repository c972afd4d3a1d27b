// Fuzz target: the readers of styles.xml and of the relationship table,
// and the run font reader, on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Docx/RelationReader.h"
#include "Docx/StyleReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    std::vector<_tParagraph> vecStyles;
    std::map<std::string, _tParagraph> mapStyles;
    std::map<std::string, int> mapLevels;
    CStyleReader::ExtractStyles(sText, vecStyles, mapStyles, mapLevels);
    _tParagraph run;
    std::string sStyleId = mapStyles.empty() ? std::string() : mapStyles.begin()->first;
    CStyleReader::ExtractFont(sText, 0, sText.size(), run, sStyleId, false, mapStyles);
    std::map<std::string, _tRelationInfo> mapRelations;
    CRelationReader::ReadRelations(sText, CRelationReader::TypeNames(), mapRelations);
    return 0;
}

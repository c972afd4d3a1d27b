// Reads the relationship table of the main document
// (word/_rels/document.xml.rels): id -> target and type.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Docx/DocxRecords.h"

class CRelationReader {
public:
    // The relationship type names the model keeps, index = type id.
    static std::vector<std::string> TypeNames();
    // Stores every relationship whose type is in vecTypes; returns how many.
    static int ReadRelations(std::string_view sText, const std::vector<std::string>& vecTypes,
                             std::map<std::string, _tRelationInfo>& mapId2Res);
};

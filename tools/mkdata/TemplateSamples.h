// Sample documents from which the default templates are learnt: one small
// .docx per report type in the formats such reports usually take (theses
// and papers after common Chinese university rules, enterprise reports after
// common office rules), with the parts a document of the type must hold
// marked KKK...GGG. All text is written here for the purpose.
#pragma once

#include <string>
#include <vector>

class CTemplateSamples {
public:
    // The report types that get a default template.
    static const std::vector<int>& Types();
    // A short file name for a type ("thesis"), empty for other types.
    static std::string Name(int nType);
    // Writes the sample of nType to sPath; false on failure.
    static bool Write(int nType, const std::string& sPath);
};

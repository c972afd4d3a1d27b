// A similar-word or spelling-error dictionary ("expand", "SpellError"): three
// files <folder>/<stem>.pdat, .wordlist and .map. For now it only records
// where its files are and whether they exist; lookups come with the
// dictionaries.
#pragma once

#include <string>

class CQueryExpand {
public:
    // Loads the three files when they exist; a missing dictionary is empty.
    CQueryExpand(const std::string& sFolder, const std::string& sStem);
    bool IsLoaded() const { return m_bLoaded; }
    std::string FileStem() const { return m_sFolder + "/" + m_sStem; }

private:
    std::string m_sFolder;
    std::string m_sStem;
    bool m_bLoaded = false;
};

// A similar-word or spelling-error dictionary ("expand", "SpellError"): a
// dictionary, word list and identifier map kept in <folder>/<stem>.pdat,
// .wordlist and .map, made from a text file and looked up by the checks.
//
// The text file (UTF-8; a leading byte-order mark is skipped), one group per
// line, fields separated by tabs:
//
//   # comment                         lines starting with '#' and blank lines are skipped
//   中华人民共和国<TAB>中国<TAB>我国     similar words: a standard name, then its variants
//   既使<TAB>即使                       spelling errors: a wrong form, then its right forms
//
// Spaces around a field are dropped, so are empty fields and fields equal
// to the line's first one; a line left with fewer than two fields is
// skipped and logged. A similar-word dictionary relates a standard name and
// each of its variants both ways; a spelling-error dictionary (stem
// "SpellError") maps each wrong form to its right forms only. Words are
// stored as GB18030 (the dictionaries' text), lookups take and give UTF-8.
// Lookups may run on several threads while an import replaces the tables.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CQueryExpand {
public:
    enum EKind { QUERY_SIMILAR, QUERY_SPELLERROR };

    // Loads the three files when they exist; a missing or broken dictionary
    // is empty (a broken one is logged).
    CQueryExpand(const std::string& sFolder, const std::string& sStem);
    ~CQueryExpand();
    CQueryExpand(const CQueryExpand&) = delete;
    CQueryExpand& operator=(const CQueryExpand&) = delete;

    // "SpellError" is the spelling-error dictionary, any other stem similar words.
    static EKind KindOfStem(const std::string& sStem);
    EKind Kind() const { return m_nKind; }
    bool IsLoaded() const;
    std::string FileStem() const { return m_sFolder + "/" + m_sStem; }

    // Rebuilds from a text file, writes the three files and uses them. The
    // number of groups read; 0 when the file holds none and -1 when it
    // cannot be read or the files cannot be written (the dictionary is then
    // unchanged and the last-error text says why).
    int Import(const char* sTextFile);
    // Rebuilds from text in memory without writing files; the number of
    // groups. Lines skipped are described in *pSkipped when given.
    int ImportFromText(const std::string& sText, std::string* pSkipped = nullptr);
    // Writes the three files of the current tables; false on failure.
    bool Save() const;
    // Reads the three files again; false (and empty) when they are missing,
    // corrupt or do not belong together.
    bool Reload();

    // The words related to a word: for a standard name its variants, for a
    // variant its standard name and the other variants. Empty when unknown.
    std::vector<std::string> GetSimilarWords(const std::string& sWord) const;
    // The right forms of a wrong form, in the order the file first names
    // them; empty when the word is no known wrong form.
    std::vector<std::string> GetRightForms(const std::string& sWord) const;
    // The first right form, "" when none.
    std::string GetRightForm(const std::string& sWord) const;
    bool Contains(const std::string& sWord) const;
    size_t WordCount() const;

    // Every word that maps to others (the wrong forms of a spelling-error
    // dictionary), one "word tag" line each, as a segmenter user dictionary.
    std::string UserDictText(const std::string& sTag) const;
    bool WriteUserDict(const std::string& sPath, const std::string& sTag) const;

    // The three files in memory (written into the given strings, reusing
    // their room), and a dictionary made from them.
    bool SaveToBuffers(std::string& sPdat, std::string& sWordList, std::string& sMap) const;
    bool LoadFromBuffers(const std::string& sPdat, const std::string& sWordList, const std::string& sMap);

private:
    struct _tTables;
    std::shared_ptr<const _tTables> Tables() const;
    void SetTables(std::shared_ptr<const _tTables> pTables);
    std::vector<std::string> Lookup(const std::string& sWord, bool bSimilar) const;

    std::string m_sFolder;
    std::string m_sStem;
    EKind m_nKind;
    mutable std::mutex m_mutex;               // guards the pointer only
    std::shared_ptr<const _tTables> m_pTables;  // null while empty
};

// Where the outputs of one input document go and under which name.
//
// The folder is the calling thread's output folder when one is set, else the
// document's own folder. The name is the document's base name, except where
// two documents of one folder share a base name ("report.doc" beside
// "report.docx"): the one whose format comes first (.docx, .docm, .doc,
// .wps, .rtf, .odt, .tex, .pdf, .htm, .html, .txt, anything else) keeps the
// bare base name, every other keeps its extension in it ("report.doc"), so
// its files are "report.doc_Check.xml", "report.doc_unzip/" and so on and
// never those of the other document.
#pragma once

#include <string>

class CDocumentPlace {
public:
    std::string sFolder;  // output folder
    std::string sName;    // document name: the base of every output file

    static CDocumentPlace For(const std::string& sFile);

    // sFile's own file name inside the output folder (sFile itself when no
    // output folder is set), for outputs named after the whole file name.
    static std::string OutputFileFor(const std::string& sFile);

    // The folder the package is unpacked into.
    std::string WorkFolder() const;
    // Creates the output folder when missing; false when it cannot be.
    bool MakeFolder() const;
    // A new, empty folder inside the output folder that only this call
    // uses (for outside converters, which name their outputs themselves);
    // "" when it cannot be created. The caller removes it.
    std::string MakePrivateFolder() const;
};

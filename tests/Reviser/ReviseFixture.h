// Shared set-up of the reviser tests: a small document built from body XML
// in a folder whose names hold Chinese characters and blanks, parsed the
// way a check parses it, findings on its paragraphs written as a saved
// result, and the parts of a revised package read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Checker/CheckResult.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "Reviser/DocReviser.h"
#include "Utility/ID2Message.h"
#include "Utility/Num2FontSize.h"
#include "support/DocxBuilder.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

class CReviseTest : public ::testing::Test {
public:
    // Every item of a package by name ("" map when it cannot be read).
    static std::map<std::string, std::string> Parts(const std::string& sDocx);
    // The text of each paragraph of a document.xml ("<w:t>" texts), joined by "|".
    static std::string Texts(const std::string& sDocumentXml);
    // The names in a folder.
    static std::vector<std::string> FolderNames(const std::string& sFolder);
    // "" when the XML is well formed (tags nest, attributes are name="value"),
    // else where it is not.
    static std::string XmlFault(const std::string& sXml);
    // word/document.xml of a revised package, checked to be well formed.
    static std::string RevisedDocument(const std::string& sDocx);

protected:
    CReviseTest();

    // Writes "<folder>/<sName>.docx" with sBody and extra items, then unpacks
    // and parses it. False when either fails.
    bool Build(const std::string& sBody, const std::string& sName = "论文 初稿",
               const std::vector<std::pair<std::string, std::string>>& vecItems = {});
    // The id of the first body paragraph whose text holds sText (0 when none).
    uint32_t ParaId(const std::string& sText) const;
    void Add(uint32_t nPara, uint32_t nOffset, int nField, int nRevise, const std::string& sOrg,
             const std::string& sNew, const char* sCode = "1.5.2");
    // Writes the saved result beside the document; its path.
    std::string WriteResult();
    // WriteResult, then a plain (or tracked) revision; the revised file or "".
    std::string Revise(bool bTracked = false);

    CSwitchGuard m_quiet {g_bLog, false};
    CTempDir m_temp;
    std::string m_sFolder;  // "<temp>/论文 目录"
    std::string m_sDocx;
    std::string m_sResult;
    CID2Message m_catalogue;
    CNum2FontSize m_sizes;
    CDocxParser m_parser;
    CCheckResult m_result {&m_catalogue};
    CDocReviser m_reviser {&m_catalogue, &m_sizes};
};

// A package Word and LibreOffice open: content types, the package's own
// relationships, and the document's relationship to its styles.
std::vector<std::pair<std::string, std::string>> CompletePackageItems();

// Writes one paragraph of the document model as HTML: the element's style
// (alignment, indents, spacing, line height) and its content. The content
// is the model's text itself, so offsets into that text stay true on the
// page; the runs of document.xml that the text came from are found in it
// and give their fonts, sizes and looks to spans around their bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "Convert/HtmlStyleLooks.h"
#include "Docx/ParagraphTagReader.h"

struct _tParagraph;
class CStyleSheet;

class CHtmlParagraphWriter {
public:
    // sDocXml: the text of document.xml the model was read from; may be
    // empty (a reloaded model), and then the paragraph's own font and size
    // are all there is.
    CHtmlParagraphWriter(const CStyleSheet& sheet, const CHtmlStyleLooks& looks, std::string_view sDocXml);

    // Finds the paragraph in document.xml at its id (the offset of its
    // element) and reads its properties and runs.
    void Begin(const _tParagraph& para);
    // CSS declarations of the element.
    std::string ElementStyle() const;
    // The size of a picture of the paragraph in points (from its drawing's
    // extent), false when unknown.
    bool ImageSize(const std::string& sRelationId, double& dWidth, double& dHeight) const;
    // Appends the content. vecFigures: indexes of the figures whose marks
    // ("(Figure n)") are in the text; mapImages: the <img> markup of those
    // placed here, put where their marks are (at the start without one).
    // The marks of the others are left out.
    void WriteContent(std::string& sOut, const std::vector<size_t>& vecFigures,
                      const std::map<size_t, std::string>& mapImages) const;

private:
    struct _tPiece {
        size_t nStart = 0;
        size_t nEnd = 0;
        int nRun = -1;       // index in m_tags.vecRuns; -1 text between runs
        size_t nFigure = 0;  // for a figure mark (nRun == -2)
    };
    static constexpr int MARK = -2;

    void FindMarks(const std::vector<size_t>& vecFigures, std::vector<_tPiece>& vecMarks) const;
    void FindRuns(const std::vector<_tPiece>& vecMarks, std::vector<_tPiece>& vecRuns) const;
    std::string BaseStyle() const;
    std::string RunStyle(const _tRunTags& run) const;
    std::string RunLook(const _tRunTags& run) const;
    void WriteSpan(std::string& sOut, size_t nStart, size_t nEnd, const std::string& sStyle) const;
    void WritePieces(const std::vector<_tPiece>& vecPieces, const std::map<size_t, std::string>& mapImages,
                     std::string& sOut) const;
    // A run's style, worked out once per paragraph.
    const std::string& StyleOf(const _tPiece& piece) const;

    const CStyleSheet& m_sheet;
    const CHtmlStyleLooks& m_looks;
    std::string_view m_sXml;
    const _tParagraph* m_pPara = nullptr;
    size_t m_nStart = std::string_view::npos;  // the paragraph in m_sXml, when found
    size_t m_nEnd = 0;
    _tParagraphTags m_tags;
    _tParaLook m_look;
    mutable std::vector<std::string> m_vecStyles;  // by run, while the content is written
};

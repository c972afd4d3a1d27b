// The rule language: normalisation of rule fields, list splitting, the
// pattern grammar (grids of blocks of elements), knowledge-graph settings,
// attribute references, and the canonical text of a parsed pattern.
#pragma once

#include <string>
#include <vector>

#include "RUX/RUXRecords.h"

// The two grammar messages, GBK-encoded: an opening mark of a grid is
// expected here; the closing mark of a grid is missing.
extern const char* const kGridOpenMissing;
extern const char* const kGridCloseMissing;
// Printed names of the knowledge-graph flag bytes (index 0 and 8 unused).
extern const char* const kKGFlagNames[RUX_KG_TYPE_SIZE];

// A message in UTF-8: texts in the local GBK encoding are converted.
std::string MessageToUtf8(const std::string& sMessage);

// Drops trailing CR/LF and every blank that is not next to a Latin letter.
std::string TextStandard(const std::string& sText);
// Cuts at every character of sSeparators; no empty pieces; trailing CR/LF
// removed from each piece.
std::vector<std::string> SplitString(const std::string& sText, const char* sSeparators);
// Every blank run becomes one space, dropped first or after one of " +{}[]^".
std::string CompactPattern(const std::string& sText);

// Parses a pattern into knowledge (text = the compacted pattern). 1, or -1
// with sError set; grids parsed before an error stay in the result.
int ParseKnowledge(const std::string& sPattern, _tKnowledgeOrg& knowledge, std::string& sError);
// The text between "{" and "}" of one grid.
void ParseGrid(const std::string& sGrid, _tGridOrg& grid);
// The text between "[" and "]" of one block.
void ParseBlock(const std::string& sBlock, _tBlockOrg& block);
// Resolves the "^" escapes of one element ("^;" stays as written).
std::string UnitStandard(const std::string& sElement);
// Position of the first ch at or after nFrom that is not escaped by "^".
size_t FindUnescaped(const std::string& sText, char ch, size_t nFrom);

// Reads normalised kgset text: entries "field:flag,flag;..." .
void ParseKGSet(const std::string& sText, std::vector<_tField2KG>& vecField2KG,
                std::vector<std::string>& vecKeyname);
// The kgset text of the entries, as it is printed and read back.
std::string GetKGSetStr(const std::vector<_tField2KG>& vecField2KG);

// Splits "value:{format}" at ":{" ... "}"; false (value = text) when none.
bool SplitFormat(const std::string& sText, std::string& sValue, std::string& sFormat);
// "attribute|showname:{format}": without "|" the display name and the
// attribute are the same text. False when the attribute name is empty.
bool ExtractAttribute(const std::string& sText, std::string& sAttribute, std::string& sShowName,
                      std::string& sFormat);

// Canonical text: grids "{...}" (+ "s" when selected), blocks "[...]" with
// repeat counts and steps; special characters escaped so it parses back to
// the same structure.
std::string GetKnowledgeStr(const _tKnowledgeOrg& knowledge);
std::string GetGridStr(const _tGridOrg& grid);
std::string GetBlockStr(const _tBlockOrg& block);

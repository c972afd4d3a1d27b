// The line conventions of the text word lists that dictionaries, word lists
// and identifier maps import: one entry per line, "[a b]" for an entry with
// spaces, "_" standing for a space. Shared so every import reads a list the
// same way and the ids they give agree.
#pragma once

#include <string>
#include <vector>

// The lines of a text, without their "\n" or "\r\n".
std::vector<std::string> SplitTextLines(const std::string& sText);

// The entry of one word-list line: its first white-space-delimited token
// (a leading byte-order mark dropped), or for a token starting with '[' the
// text up to the first ']' (or the line end); each '_' becomes ' '. Empty
// when the line holds no entry. Text from a NUL byte on is ignored.
std::string ParseWordListEntry(const std::string& sLine);

// An entry as the cleaned lists write it: "[entry]" when it holds a space
// or tab, else the entry itself.
std::string FormatWordListEntry(const std::string& sEntry);

// The entries of a map-list line, split at ", \t\r\n"; an entry starting
// with '[' runs to the next ']' and may hold those characters; each '_'
// becomes ' '.
std::vector<std::string> SplitMapEntries(const std::string& sLine);

// The fields of a line split at every tab (empty fields kept).
std::vector<std::string> SplitTabFields(const std::string& sLine);

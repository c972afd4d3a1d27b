// One correction proposed by the spelling server: the wrong text, its
// correction and where the server says it stands in the sentence.
#pragma once

#include <string>

struct _spell_check_result {
    std::string orig;    // the text the server thinks is wrong
    std::string revise;  // what it should read
    unsigned start = 0;  // character positions the server gives (not relied on)
    unsigned end = 0;
};

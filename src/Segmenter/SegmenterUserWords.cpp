// User words handed to the segmenter. A placeholder until the segmenter keeps
// its user dictionary: every word is accepted.
#include "Segmenter/Segmenter.h"

int PELNOR_AddUserWord(const char* sWord, const char* sTag)
{
    return (sWord && *sWord && sTag) ? 1 : 0;
}

// The word segmenter and tagger (the PELNOR_* interface the rule engine and
// the spelling pass use). One segmenter serves the process: PELNOR_Init
// starts it on a data folder, PELNOR_Exit stops it. Segmenting and the
// look-ups may run on any number of threads at once; user-word changes are
// locked against them. Texts are UTF-8 (GBK when started with nEncoding 0).
//
// Output of PELNOR_ParagraphProcess: tokens separated by single spaces, each
// "word/tag" ("word" when untagged); white space gives no token; a user word
// holding spaces comes back as "[a b]/tag". Tags: the core dictionary's
// part-of-speech tags for words; "m" numbers ("3.14", "1,000", "50%"); "t"
// dates and times ("2023年5月12日", "12:30", "二〇二三年"); "x" Latin runs
// ("GB50016-2014", "C++"), unknown symbols and bytes that are no UTF-8;
// punctuation "wd" comma, "wj" full stop, "wn" enumeration comma, "wp" dash,
// "ws" ellipsis, "ww" question mark, "wt" exclamation mark, "wm" colon,
// "wf" semicolon, "wkz"/"wky" opening/closing brackets (《》 among them),
// "wyz"/"wyy" opening/closing quotation marks, "w" other marks; "udeng" for
// 等 or 等等 closing a list; user words their own tag.
#pragma once

// Starts on sInitDir (the current directory when null or empty), whose
// "Data" folder must hold the segmenter's dictionaries (Data/Segmenter):
// reads Data/Configure.xml, makes Data the default directory, loads the
// dictionaries and the saved user dictionary. 1, or 0 with the reason in
// PELNOR_GetLastErrorMsg. A second start replaces the first.
int PELNOR_Init(const char* sInitDir, int nEncoding);
void PELNOR_Exit();
// The calling thread's last segmenter failure (a start, an import, a save).
const char* PELNOR_GetLastErrorMsg();

// The segmentation of one paragraph, tagged when bPOSTagged is not 0. The
// text belongs to the calling thread and stays valid until its next call;
// null when the segmenter is not started or sText is null.
const char* PELNOR_ParagraphProcess(const char* sText, int bPOSTagged);

// Adds the entries of a user dictionary file, one per line: "word",
// "word tag", "word freq tag" or "[a b] tag" for a word with spaces (a
// missing tag is "n"). With bOverwrite the user words so far are dropped
// first. User words always come back as one token with their tag, before
// any core word; a user word of a single ideograph only where the core
// route leaves that character alone (it never cuts a word holding it, and
// is never joined to a guessed unknown word). Returns the number of entries taken, -1 when the file
// cannot be read or the segmenter is not started.
int PELNOR_ImportUserDict(const char* sFilename, int bOverwrite);
// Adds one user word (or gives it a new tag). With sTag null, sWord is read
// as a user dictionary line ("王小明 nr"). 1, or 0 when the word cannot be
// one or the segmenter is not started.
int PELNOR_AddUserWord(const char* sWord, const char* sTag = nullptr);
// Writes the user words to Data/Segmenter/UserDict.txt, which the next
// start reads again. 1, or 0 when it cannot be written.
int PELNOR_SaveTheUsrDic();

// The id of a word in the core dictionary, -1 when absent.
int PELNOR_GetWordID(const char* sWord);
// How often the two core words occur written together as one word (the
// pair frequency of the spelling pass); 0 when they make no core word or an
// id is unknown.
int PELNOR_GetPairFreq(int nWordID1, int nWordID2);
// 1 when the word is in the English word list (letter case ignored).
int PELNOR_IsEnglishWord(const char* sWord);

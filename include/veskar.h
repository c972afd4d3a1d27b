/*
 * veskar.h - the C interface of libveskar, a checker of Chinese report
 * documents (theses, papers, technical, safety and contract reports).
 *
 * Start the library once with VESKAR_Init on a directory that holds the
 * "Data" folder, use checker instance 0 (or make more), and stop it with
 * VESKAR_Exit. Strings are UTF-8. Functions return 1 (or a count or handle)
 * on success and 0 or a negative number on failure; VESKAR_GetLastErrorMsg
 * then says why. No C++ exception ever leaves a function of this header.
 *
 * ---- Returned strings ---------------------------------------------------
 * A returned "const char*" belongs to the library: never free it, and copy
 * it when you need it longer than stated here. Each function's comment
 * names one of these lifetimes:
 *
 *   [instance]  kept by the checker instance of the call: valid until that
 *               instance is deleted (VESKAR_DeleteInstance, VESKAR_Exit) or
 *               at least 10,000 further texts have been returned from the
 *               same instance (it frees its oldest texts in batches).
 *   [library]   kept by the started library: valid until VESKAR_Exit (or a
 *               new VESKAR_Init) or at least 10,000 further texts of this
 *               kind have been returned, from any thread.
 *   [process]   kept for the life of the process: valid for at least 10,000
 *               further texts returned by the same function group, from any
 *               thread (VESKAR_ParseFile with VESKAR_GetFileText; VESKAR_DictScan).
 *   [engine]    kept by the rule engine: valid until RUX_Exit, VESKAR_Exit,
 *               the next RUX_Init or VESKAR_Init (both restart the engine),
 *               or at least 10,000 further texts of the rule engine.
 *   [thread]    kept per thread: valid until the calling thread's next call
 *               into the library.
 *   [search]    kept by the search client: valid until
 *               orlosearch_query_client_exit or at least 10,000 further
 *               answers have been returned, from any thread.
 *
 * ---- Threads ------------------------------------------------------------
 * - VESKAR_Init, VESKAR_Exit, RUX_Init, RUX_Exit, orlosearch_query_client_exit
 *   and VESKAR_ImportErrorMsg (it rewrites the catalogue every check and
 *   result reads) run alone: no other call of this library may be running
 *   on any thread meanwhile.
 * - A checker handle belongs to one thread at a time: calls on the same
 *   handle must not overlap (they share the instance's document, findings
 *   and texts). Calls on different handles run at once, one thread each.
 * - VESKAR_DeleteInstance may run while a call on that handle runs on
 *   another thread: the instance is freed only when that call returns, and
 *   a call whose handle was deleted before it ended returns null (its texts
 *   go with the instance).
 * - These may run at once with everything except the calls that run alone:
 *   VESKAR_NewInstance, VESKAR_DeleteInstance, VESKAR_GetLastErrorMsg,
 *   VESKAR_GetInfo, VESKAR_LibVersion, VESKAR_LibVersionNumber,
 *   Audit_GetErrorInfo, the template functions (they take turns), the
 *   dictionary imports other than the catalogue (they swap their dictionary
 *   under a lock), the ".pdat" functions, VESKAR_Segment, VESKAR_ParseFile,
 *   VESKAR_GetFileText, VESKAR_ExtractKnowledge, orlosearch_query_client
 *   and the batches (each worker has its own instance).
 * - Rule engine: a RUX handle, like a checker handle, belongs to one thread
 *   at a time; RUX_DeleteInstance may run while a call on it runs (the set
 *   is freed when that call returns; its texts are [engine]). RUXSet_*
 *   open their own copy of the set on each call and run at once; two
 *   changes to the same set from two threads both save it and the last
 *   save wins, so make changes to one set on one thread.
 * - Two calls that write the same file (checking the same document on two
 *   instances, two imports into one dictionary file) race on that file.
 */
#ifndef VESKAR_H
#define VESKAR_H

#include <stdbool.h>
#include <stddef.h>

#if defined(VESKAR_BUILDING)
#define VESKAR_API __attribute__((visibility("default")))
#else
#define VESKAR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Version ------------------------------------------------------------
 * VESKAR_VERSION is the version of this header; VESKAR_LibVersion() that of
 * the library loaded, which may differ when the header and the library come
 * from different builds. VESKAR_VERSION_NUMBER is major * 1000000 + minor *
 * 1000 + patch. */
#define VESKAR_VERSION "0.1.0"
#define VESKAR_VERSION_NUMBER 1000

/* The library's VESKAR_VERSION; a static string, never null. */
VESKAR_API const char* VESKAR_LibVersion(void);
/* The library's VESKAR_VERSION_NUMBER. */
VESKAR_API int VESKAR_LibVersionNumber(void);

/* ---- Named values of the int parameters --------------------------------
 * The parameters stay plain ints; these names say what the numbers mean. */

/* nResultFormat, format: the form of check results. */
enum {
    VESKAR_FORMAT_XML = 0,
    VESKAR_FORMAT_JSON = 1
};

/* nType, docType: report types. The data folder defines which types have
 * rule sets; these are the types the library itself treats specially. */
enum {
    VESKAR_REPORT_CONTRACT = 3, /* contract reports (the shipped contract rule set) */
    VESKAR_REPORT_CHAPTERS = 4, /* reports in numbered chapters; as 3, cut into sections when without headings */
    VESKAR_REPORT_THESIS = 6,   /* theses (the default of the command-line tool) */
    VESKAR_REPORT_PAPER = 7,    /* papers; with 6, the paper structure is recognised */
    VESKAR_REPORT_TYPE_MAX = 19 /* report types are 0 .. VESKAR_REPORT_TYPE_MAX */
};

/* Results of VESKAR_Init. */
enum {
    VESKAR_INIT_OK = 1,
    VESKAR_INIT_NO_RULE_ENGINE = -1,     /* the rule engine (and its segmenter) could not start */
    VESKAR_INIT_NO_FORMAT_CHECKER = -5,  /* the format checker could not be created */
    VESKAR_INIT_NO_CATALOGUE = -6,       /* the error catalogue did not load */
    VESKAR_INIT_NO_FONT_SIZES = -7       /* the font-size table is missing or empty */
};

/* result_type of VESKAR_GetResult: the outputs of the last check. */
enum {
    VESKAR_RESULT_CHECK = 0,       /* the result text in the instance's format */
    VESKAR_RESULT_KNOWLEDGE = 1,   /* the rule extraction output */
    VESKAR_RESULT_SINGLE_KEYS = 6, /* single key values */
    VESKAR_RESULT_TUPLES = 7,      /* tuples */
    VESKAR_RESULT_ENTITIES = 8     /* named entities */
};

/* handle: the instance VESKAR_Init creates. rule_id: every rule. */
enum {
    VESKAR_DEFAULT_INSTANCE = 0,
    VESKAR_ALL_RULES = -1
};

/* nEncoding of the ".pdat" functions. */
enum {
    VESKAR_ENCODING_GB18030 = 0, /* the dictionary holds GB18030; texts are UTF-8 */
    VESKAR_ENCODING_BYTES = 1    /* bytes are used as given */
};

/* nMode of VESKAR_DictBuild: how text is cut into units. */
enum {
    VESKAR_DICT_CHARS = 0,  /* units of one or two bytes, A-Z folded */
    VESKAR_DICT_BYTES = 1,  /* single bytes */
    VESKAR_DICT_NAMES = 2   /* as VESKAR_DICT_CHARS, plus the folding of names and titles */
};

/* nScanMode of VESKAR_DictScan. */
enum {
    VESKAR_SCAN_WHOLE_WORDS = 0, /* words that do not cut into a run of Latin letters or digits */
    VESKAR_SCAN_OVERLAPPING = 1, /* the same, overlapping, over Chinese, lower-case letters and digits */
    VESKAR_SCAN_LONGEST = 2      /* every longest match */
};

/* ---- Life cycle and instances ---------------------------------------- */

/* Starts the library on sInitDirPath (null or "" = current directory):
 * VESKAR_INIT_OK or another VESKAR_INIT_* result. Creates instance 0.
 * Runs alone (see Threads). */
VESKAR_API int VESKAR_Init(const char* sInitDirPath);

/* Destroys everything VESKAR_Init created, every instance and every
 * [instance], [library] and [engine] text. Switches keep their values. */
VESKAR_API void VESKAR_Exit(void);

/* Handle of a new checker instance, or -1 when not initialised. Handles
 * are never reused. */
VESKAR_API int VESKAR_NewInstance(void);

/* 1 when the handle was in range, else 0. The instance and its texts are
 * destroyed now, or when a call on it running on another thread returns. */
VESKAR_API int VESKAR_DeleteInstance(int handle);

/* The calling thread's last error text; never null. [thread] */
VESKAR_API const char* VESKAR_GetLastErrorMsg(void);

/* Version, data folder, switches and table sizes as a JSON object; null
 * when not initialised. [library] */
VESKAR_API const char* VESKAR_GetInfo(void);

/* ---- Error catalogue ------------------------------------------------- */

/* Replaces the catalogue's messages with a text catalogue file
 * ("ErrId\tErrorMsg\tEachScore\tMaxScore" header, then a line per code) and
 * saves the binary catalogue into the data folder. The number of messages
 * saved; -1 when the file cannot be read or the catalogue written; 0 when
 * there is no catalogue. */
VESKAR_API int VESKAR_ImportErrorMsg(const char* sErrorListFile);

/* Writes the catalogue in the text form. The number of messages, -1 when
 * the file cannot be written, 0 when there is no catalogue. */
VESKAR_API int VESKAR_ExportErrorMsg(const char* sErrorListFile);

/* The catalogue as a JSON array of {"each_score","id","max_score","msg"};
 * null when there is no catalogue. [library] */
VESKAR_API const char* Audit_GetErrorInfo(void);

/* ---- Dictionaries ------------------------------------------------------
 * The similar-word ("expand") and spelling-error ("SpellError") dictionaries
 * are made from tab-separated text files, one group per line: a standard
 * name then its variants, or a wrong form then its right forms ('#' starts a
 * comment line). Each import writes <data>/<stem>.pdat, .wordlist and .map
 * and uses them at once. */

/* Regenerates the similar-word dictionary from a text file. The number of
 * groups read; 0 when the file holds none or the library is not started;
 * -1 when it cannot be read or the dictionary cannot be written. */
VESKAR_API int VESKAR_ImportSimDict(const char* sSimDictFile);

/* Regenerates the spelling-error dictionary from a text file, writes its
 * wrong forms to <data>/SpellError_userdict.txt and imports that into the
 * word segmenter's user dictionary. The segmenter import's result; 0 or -1
 * as VESKAR_ImportSimDict when the dictionary itself fails. */
VESKAR_API int VESKAR_ImportSpellErrorDict(const char* sSpellErrorDict);

/* Imports a user dictionary into the word segmenter ("word tag" or "word"
 * per line; a word with blanks in brackets). The number of words, or -1. */
VESKAR_API int VESKAR_ImportUserDict(const char* sUserDict);

/* Adds a keyword list (wrongly written words "written-->right", keywords in
 * "@class NAME WEIGHT" sections) to the keyword scanner's user list, with
 * the pinyin initials of its keywords when bPinyinAbbrevNeeded; bOverwrite
 * replaces the user list instead. Needs "FilterCheck" on. The number of
 * entries imported, -1 on failure. */
VESKAR_API int VESKAR_ImportFieldDict(const char* sFiledDictFile, bool bPinyinAbbrevNeeded, bool bOverwrite);

/* ---- Dictionary files (".pdat") ----------------------------------------
 * These need no VESKAR_Init. nEncoding 0: the dictionary holds GB18030 text,
 * as the library's own dictionaries do, and words, texts and lists are UTF-8
 * (a word list that is no valid UTF-8 is taken as GBK); 1: bytes are used as
 * given. nMode: 0 units of one or two bytes with A-Z folded, 1 single
 * bytes, 2 as 0 plus the folding of names and titles. */

/* Builds a dictionary from a word list (one entry per line, "[a b]" or
 * "a_b" for an entry with a space) and saves it. The number of words; 0
 * when the list holds none (nothing is written); -1 on failure. */
VESKAR_API int VESKAR_DictBuild(const char* sWordList, const char* sPdatFile, int nMode, int nEncoding);

/* The id of a word; -1 when absent, -2 when the dictionary cannot be read. */
VESKAR_API int VESKAR_DictFind(const char* sPdatFile, const char* sWord, int nEncoding);

/* The words a scan finds in a text, as a JSON array of {"id", "length",
 * "offset", "word"} (byte offset and length in the given text). nScanMode
 * 0 keeps words that do not cut into a run of Latin letters or digits; 1
 * does so with overlapping hits over Chinese characters, lower-case letters
 * and digits only; 2 keeps every longest match. Null on failure. [process] */
VESKAR_API const char* VESKAR_DictScan(const char* sPdatFile, const char* sText, int nScanMode, int nEncoding);

/* Writes every word of a dictionary, one per line. The number of words, -1
 * on failure. */
VESKAR_API int VESKAR_DictExport(const char* sPdatFile, const char* sTextFile, int nEncoding);

/* ---- Checking documents (per instance) -------------------------------
 * handle: 0 for the instance start-up made, or one from VESKAR_NewInstance.
 * nType: report type; nResultFormat: 0 XML, 1 JSON. An unknown handle fails
 * with "VESKAR not init!". Every text returned here is [instance]; a call
 * whose handle is deleted before it ends returns null. */

/* Imports and checks a document (.docx, .doc, .wps, .rtf, .odt, .pdf, .txt,
 * .htm) and writes "<name>_Check.xml" or "_Check.json" beside it. XML: the
 * result file's path; JSON: the result text; null when the file cannot be
 * imported ("Cannot open file ...") or the result cannot be written. */
VESKAR_API const char* VESKAR_CheckReportF(const char* sReportFile, const char* sURLPrefix,
                                           const char* sOrgnization, int nType, int nResultFormat,
                                           bool bDebug, int handle);
/* Checks a text held in memory; the result text (no file is written). */
VESKAR_API const char* VESKAR_CheckReportM(const char* sReportTxt, const char* sURLPrefix,
                                           const char* sOrgnization, int nType, int nResultFormat,
                                           bool bDebug, int handle);
/* An output of the last check: 0 the result text, 1 knowledge, 6 single
 * key values, 7 tuples, 8 entities; "" for other types or before a check. */
VESKAR_API const char* VESKAR_GetResult(int result_type, int handle);
/* Reloads a saved document file ("<name>.xml") into the instance; bytes read, 0 on failure. */
VESKAR_API size_t VESKAR_LoadDocResult(const char* sResultXMLFile, int handle);
/* Imports a .docx without checking it; the path of its document file. */
VESKAR_API const char* VESKAR_ImportDoc(const char* sReportFile, const char* sURLPrefix, int handle);
/* Marks the findings of a saved result in its document's HTML pages: null
 * on success, else the error text, which is [thread]. */
VESKAR_API const char* VESKAR_ShowHtmlError(const char* sReviseXMLFile, int handle);
/* Writes a revised copy of a saved result's document, every finding
 * applied, as "<name>_Revised_<time>.docx" beside it (with "_2", "_3" ..
 * when that name is taken); the document itself is left as it is. The
 * path; "" when the result, its unpacked document or the file cannot be
 * read or written, or the document changed since the check. */
VESKAR_API const char* VESKAR_ReviseReportF(const char* sReviseXMLFile, int handle);
/* The same copy with tracked changes by "veskar" for text corrections and
 * comments for every other finding; returns as VESKAR_ReviseReportF. */
VESKAR_API const char* VESKAR_ReviseReportTracked(const char* sReviseXMLFile, int handle);
/* Re-checks the format of a saved result against template nTemplateID and
 * writes the result file again; returns as VESKAR_CheckReportF. */
VESKAR_API const char* VESKAR_ReCheckFormat(const char* sCheckXML, int nTemplateID, int nResultFormat,
                                            int handle);
/* Knowledge (key values, tuples, tables, entities) of a text as JSON, on a
 * new instance that stays in the table until VESKAR_Exit; the text is that
 * instance's, so it stays valid until VESKAR_Exit. */
VESKAR_API const char* VESKAR_ExtractKnowledge(const char* sText, int nType);
/* The template keys (organisation, argument, area) of the current document as JSON. */
VESKAR_API const char* VESKAR_GetCurTemplateInfo(int handle);
/* Scans one text with one rule of report type `type` (-1: all rules); the
 * trace text. */
VESKAR_API const char* RUX_ScanTextMem(const char* sLine, int rule_id, int type, int handle);

/* ---- Batches ---------------------------------------------------------- */

/* Checks every document under a folder tree (.doc*, .wps, .pdf, .txt) with
 * nThreadCount workers, each on an instance of its own; every document gets
 * its result file as with VESKAR_CheckReportF. Progress lines go to stdout
 * and the day's log. Returns the number of files found (all files, not only
 * documents), or (size_t)-1 when a worker could not be started. */
VESKAR_API size_t VESKAR_CheckReportDir(const char* sReportDir, const char* sOrgnization, int nType,
                                        int format, int nThreadCount);

/* 1 when a batch checks the file at sPath (by its name: .doc*, .wps, .pdf,
 * .txt other than a "_tuple.txt" output), else 0. For tools that split a
 * folder's documents among machines the way a batch would find them. */
VESKAR_API int VESKAR_IsBatchDocument(const char* sPath);

/* Called on a worker thread after each document: the document, how many are
 * done and in all, the check's answer (result path for XML, the text for
 * JSON; null on failure) and, on failure, why. The strings are valid during
 * the call only. */
typedef void (*VESKAR_BatchCallback)(void* pHost, const char* sFile, size_t nDone, size_t nTotal,
                                     const char* sResult, const char* sError);

/* As VESKAR_CheckReportDir, reporting each document to pCallback instead of
 * printing progress. */
VESKAR_API size_t VESKAR_CheckReportDirEx(const char* sReportDir, const char* sOrgnization, int nType,
                                          int format, int nThreadCount, VESKAR_BatchCallback pCallback,
                                          void* pHost);

/* ---- Templates --------------------------------------------------------
 * The format templates the format check compares documents with. Without
 * the format check ("FormatCheck" off) these fail with
 * "g_pDocFormatChecker not init!" and return 0 or null. */

/* Replaces template nTemplateID from a template document (a document that
 * cannot be read keeps the old formats and takes the new keys); its id, -1
 * for an unknown id, 0 while the format check is off. */
VESKAR_API int VESKAR_EditTemplate(int nTemplateID, const char* sTemplateFile, int nType, const char* sOrg,
                                   const char* sArea, const char* sArgumemt);
/* Learns a template from a template document and stores it (the same type,
 * organisation, area and argument again replace it); its id (0 or more), -1
 * when nothing could be learnt, 0 while the format check is off. */
VESKAR_API int VESKAR_ImportTemplate(const char* sTemplateFile, int nType, const char* sOrg,
                                     const char* sArea, const char* sArgumemt);
/* The id of the template that fits, -1 when none does. Unknown or empty
 * keys fall back to the templates stored with "*". */
VESKAR_API int VESKAR_FindTemplate(int nType, const char* sOrg, const char* sArea, const char* sArgumemt);
/* The id of the deleted template (later ids move down by one), -1 when
 * there is none, 0 while the format check is off. */
VESKAR_API int VESKAR_DeleteTemplate(int nTemplateID);
/* A template as JSON; null when it does not exist. [library] */
VESKAR_API const char* VESKAR_GetTemplate(int nTemplateID);
VESKAR_API size_t VESKAR_GetTemplateCount(void);
/* The arguments and areas of the templates of a report type and
 * organisation as JSON {"ArguCount","ArguList","AreaCount","AreaList"}. [library] */
VESKAR_API const char* VESKAR_GetTemplateList(int docType, const char* sOrgnization);

/* ---- Check results --------------------------------------------------- */

/* Reads a saved result ("_Check.xml", or "_Check.json" by its extension)
 * into the instance and returns it as JSON text (findings, statistics,
 * score); null when it cannot be read. [instance] */
VESKAR_API const char* VESKAR_LoadCheckResult(const char* sResultFile, int handle);

/* ---- Documents --------------------------------------------------------- */

/* Parses a document (.docx; .doc/.wps/.rtf/.odt through LibreOffice, .pdf
 * through pdftotext, .htm/.html, .txt; or a saved ".xml" document file)
 * and writes its document and content files beside it (nResultFormat 0:
 * XML, 1: JSON). Returns a JSON summary: result_file, paragraphs, tables,
 * cell_paragraphs, figures, headers, footers, contents, char_count,
 * multi_byte_chars, single_byte_chars and headings (level, paraId, text);
 * null on failure. Needs no VESKAR_Init. [process] */
VESKAR_API const char* VESKAR_ParseFile(const char* sFile, int nReportType, int nResultFormat);

/* The plain text of a document: paragraphs in reading order, table cells
 * row by row; null on failure. [process] */
VESKAR_API const char* VESKAR_GetFileText(const char* sFile);
/* The text of a document for reading: each paragraph once, "\n" line ends, no style tags or figure markers. */
VESKAR_API const char* VESKAR_GetPlainText(const char* sFile);
/* Outputs of the calling thread's later calls go into sDir (created), a batch's mirroring its tree; null or "" puts them beside each document. 1, or 0. */
VESKAR_API int VESKAR_SetOutputDir(const char* sDir);

/* ---- Segmentation ---------------------------------------------------- */

/* A text as "word/tag" tokens (bTagged) or words; null before init. [thread] */
VESKAR_API const char* VESKAR_Segment(const char* sText, bool bTagged);

/* ---- Rule engine and rule sets ---------------------------------------- */

/* Starts the stand-alone rule engine on sDataDir (null or "": the current
 * directory), whose "Data" folder holds the rule sets, and creates rule-set
 * instance 0. sUnused is ignored. 1, or -1 when the segmenter cannot start. */
VESKAR_API int RUX_Init(const char* sDataDir, const char* sUnused);
/* Stops the rule engine and deletes every rule-set instance. */
VESKAR_API void RUX_Exit(void);
/* Handle of a new instance on rule set nId ("RUX_<nId>.rule", loaded when
 * present), or -1 before RUX_Init. */
VESKAR_API int RUX_NewInstance(int nId);
/* 1 when the handle named an instance (now deleted), else 0. */
VESKAR_API int RUX_DeleteInstance(int handle);
/* Reads a rule source file of <item> records into the instance's set (its
 * rules replaced when bOverwrite, else appended), compiles and saves it: 1,
 * or negative (-1 unreadable or a bad handle). */
VESKAR_API int RUX_ImportRule(const char* sFile, bool bOverwrite, int handle);
/* The calling thread's last error text in UTF-8; never null. [engine], or
 * [thread] while the engine is not started. */
VESKAR_API const char* RUX_GetLastErrorMsg(void);
/* Messages of the instance's last import, add or edit, one line each
 * ("rule <no>: <message>"); null for a bad handle. [engine] */
VESKAR_API const char* RUX_GetRuleMessages(int handle);

/* Unless marked otherwise, every text the functions below return is [engine]. */

/* Hit list ("<RUX_Result>" records) of one paragraph scanned with the instance's rules; null for a bad handle. */
VESKAR_API const char* RUX_ScanText(const char* sText, unsigned int nParaId, int handle);
/* Scans every line of a text file; writes the output files beside it and FILE_RUX_result.xml; the hit list or null. */
VESKAR_API const char* RUX_ScanTextFile(const char* sFile, bool bJson, int handle);
/* Parses a document for report type `type`, scans it, writes the output files and FILE_RUX_result.xml; the hit list or null. */
VESKAR_API const char* RUX_ScanDoc(const char* sFile, int type, bool bJson, int handle);
/* Reloads a saved document result and scans it (no hit file); the hit list or null. */
VESKAR_API const char* RUX_ScanDocXML(const char* sFile, bool bJson, int handle);
/* Scans a document or text file with rule set nSet, writing the output files; the knowledge JSON ({"SingleKey_result", "NamedEntity_result", "Tuples", "Tables"}) or null. */
VESKAR_API const char* RUXSet_Extract(const char* sFile, int nSet, bool bJson);
/* The trace JSON of a text (one paragraph per line) scanned with rule set nSet, rule nRule only unless -1; null on failure. */
VESKAR_API const char* RUXSet_Trace(const char* sText, int nSet, int nRule);

/* Rule set nSet of the started engine's data folder, changed and saved in
 * place. The messages of each change: RUXSet_Messages. */
/* Imports a rule source file (replacing the rules when bOverwrite): 1 or negative. */
VESKAR_API int RUXSet_Import(const char* sFile, bool bOverwrite, int nSet);
/* JSON array of {"no","name"} per rule in index order; null on failure. */
VESKAR_API const char* RUXSet_List(int nSet);
/* JSON form of rule rule_id; "" for a bad index; null on failure. */
VESKAR_API const char* RUXSet_Show(int rule_id, int nSet);
/* Writes the readable export to sFile (null: the set's "RUX_<nSet>.export.txt");
 * the path written, or null. */
VESKAR_API const char* RUXSet_Export(int nSet, const char* sFile);
/* Adds a JSON rule: its index, the stored index of a duplicate, or negative. */
VESKAR_API int RUXSet_Add(const char* sJson, int nSet);
/* Replaces rule rule_id with a JSON rule: rule_id, -1 for a bad index, or negative. */
VESKAR_API int RUXSet_Edit(int rule_id, const char* sJson, int nSet);
/* Deletes rule rule_id (later rules move down): 1, or -1 for a bad index. */
VESKAR_API int RUXSet_Delete(int rule_id, int nSet);
/* Messages of this thread's last RUXSet_ change, one line each; never null. [thread] */
VESKAR_API const char* RUXSet_Messages(void);

/* ---- Report types: their rule sources, extraction rules and audit rules ----
 * Each report type has a processor (created on first use and listed in
 * Data/RUX_Manager.dat) holding its extraction rules "RUX_<type>.rule" and
 * audit rules "RUX_<type>.audit". Without a started library these return 0
 * or null with "g_pRUXManager not init!". Strings are owned by the library. */
/* Imports a rule source file (extraction <item> records, then its <audits>
 * section) into report type nType, replacing the type's rules when
 * bOverwrite: 1; -2 when the source has no <audits> section; other negative
 * values when it cannot be read or saved. */
VESKAR_API int VESKAR_ImportRUXRules(const char* sRuleFile, bool bOverwrite, int nType);
/* The same from a text in memory. */
VESKAR_API int VESKAR_ImportRUXRulesFromMem(const char* sRuleText, bool bOverwrite, int nType);
/* Adds one "<audit>" item to type nType and saves: its index, or -1. */
VESKAR_API int VESKAR_AddAuditRule(const char* sAuditRule, int nType);
/* JSON {"actions":[...],"fields":[...]}: the names extraction rules may use. */
VESKAR_API const char* RUX_GetSysInfo(void);
/* JSON array of {"no","name"} per extraction rule of the type. */
VESKAR_API const char* RUX_GetRuleListId(int type);
/* JSON form of one extraction rule; "" for a bad index. */
VESKAR_API const char* RUX_GetRuleInfo(int rule_id, int type);
/* Adds a JSON extraction rule: its index, a duplicate's index, or negative. */
VESKAR_API int RUX_AddRule(const char* sJsonStr, int type);
/* Replaces one extraction rule: rule_id, -1 for a bad index, or negative. */
VESKAR_API int RUX_EditRule(int rule_id, const char* sJsonStr, int type);
/* Deletes one extraction rule: 1, or -1 for a bad index (nothing changes). */
VESKAR_API int RUX_DelRule(int rule_id, int type);
/* JSON of the audit language: commands, scopes, operators, relations,
 * logic words, and the type's rule count. */
VESKAR_API const char* Audit_GetSysInfo(int type);
/* JSON array of {"no","name"} per audit rule of the type. */
VESKAR_API const char* Audit_GetRuleListId(int type);
/* JSON {"no","name","rule","arguments","field","credit"} of one audit rule;
 * "" for a bad index. */
VESKAR_API const char* Audit_GetRuleInfo(int rule_id, int type);
/* Adds a JSON audit rule: its index, or -1 ("Read RUX Infor Error!" for bad
 * JSON, or the compile error, e.g. a command with other words). */
VESKAR_API int Audit_AddRule(const char* sJsonStr, int type);
/* Replaces one audit rule: rule_id, or -1 (bad index or rule; nothing changes). */
VESKAR_API int Audit_EditRule(int rule_id, const char* sJsonStr, int type);
/* Deletes one audit rule: 1, or -1 for a bad index (nothing changes). */
VESKAR_API int Audit_DelRule(int rule_id, int type);
/* The readable listing of the type's audit rules and not-null fields. */
VESKAR_API const char* Audit_Export(int type);
/* JSON array of {"type","rules","audits"} per known report type, ascending. */
VESKAR_API const char* VESKAR_GetReportTypes(void);
/* Messages of the type's last import or edit, one line each ("" for none). */
VESKAR_API const char* VESKAR_GetRuleMessages(int type);

/* JSON {"parse","rule_scan","audit","format","marks","output","total"}: milliseconds of the instance's last import, check and result file; null for a bad handle. [instance] */
VESKAR_API const char* VESKAR_GetCheckTiming(int handle);

/* ---- Spelling ---------------------------------------------------------- */

/* Suspected wrong characters of one UTF-8 sentence and their corrections, as
 * the spelling service answers: {"pred_sentences":[{"detail":[{"org":..,
 * "revise":..,"start":N,"end":N},...]}]}, start and end being byte offsets
 * into the sentence (end exclusive). The engine loads from the data folder
 * (Data/Spelling, Data/Segmenter) on first use. Null before init or when the
 * spelling data cannot be loaded. [thread] */
VESKAR_API const char* VESKAR_SuggestSpelling(const char* sSentenceUtf8);

/* ---- Search service ---------------------------------------------------- */

/* The search service's answer at host:port to query ("[field] Safety_Tiaowen [whole] NAME"), hits start on, count of them (-1: all); null on failure or past Data/SearchAgent.xml's "TimeoutSeconds" (30). [search] */
VESKAR_API const char* orlosearch_query_client(const char* query, int start, int count, const char* host, int port);
/* Frees every answer orlosearch_query_client still holds; returns 0. */
VESKAR_API int orlosearch_query_client_exit(void);

#ifdef __cplusplus
}
#endif

#endif /* VESKAR_H */

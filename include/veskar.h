/*
 * veskar.h - the C interface of libveskar, a checker of Chinese report
 * documents (theses, papers, technical, safety and contract reports).
 *
 * Start the library once with VESKAR_Init on a directory that holds the
 * "Data" folder, use checker instance 0 (or make more), and stop it with
 * VESKAR_Exit. Strings are UTF-8. A returned "const char*" belongs to the
 * library: never free it. Functions return 1 (or a count or handle) on
 * success and 0 or a negative number on failure; VESKAR_GetLastErrorMsg
 * then says why.
 */
#ifndef VESKAR_H
#define VESKAR_H

#include <stdbool.h>

#if defined(VESKAR_BUILDING)
#define VESKAR_API __attribute__((visibility("default")))
#else
#define VESKAR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Life cycle and instances ---------------------------------------- */

/* Starts the library on sInitDirPath (null or "" = current directory).
 * 1 on success; -1 the rule engine could not start; -5 the format checker
 * could not be created; -6 the error catalogue did not load; -7 the
 * font-size table is missing or empty. Creates instance 0. */
VESKAR_API int VESKAR_Init(const char* sInitDirPath);

/* Destroys everything VESKAR_Init created. Switches keep their values. */
VESKAR_API void VESKAR_Exit(void);

/* Handle of a new checker instance, or -1 when not initialised. */
VESKAR_API int VESKAR_NewInstance(void);

/* 1 when the handle was in range (its instance is destroyed), else 0. */
VESKAR_API int VESKAR_DeleteInstance(int handle);

/* The calling thread's last error text. Owned by the library; valid until
 * this thread's next error. */
VESKAR_API const char* VESKAR_GetLastErrorMsg(void);

/* Version, data folder, switches and table sizes as a JSON object; null
 * when not initialised. Owned by the library. */
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
 * null when there is no catalogue. Owned by the library; valid until the
 * next call. */
VESKAR_API const char* Audit_GetErrorInfo(void);

/* ---- Check results --------------------------------------------------- */

/* Reads a saved result ("_Check.xml", or "_Check.json" by its extension)
 * into the instance and returns it as JSON text (findings, statistics,
 * score); null when it cannot be read. Owned by the instance. */
VESKAR_API const char* VESKAR_LoadCheckResult(const char* sResultFile, int handle);

/* ---- Documents --------------------------------------------------------- */

/* Parses a document (.docx; .doc/.wps/.rtf/.odt through LibreOffice, .pdf
 * through pdftotext, .htm/.html, .txt; or a saved ".xml" document file)
 * and writes its document and content files beside it (nResultFormat 0:
 * XML, 1: JSON). Returns a JSON summary: result_file, paragraphs, tables,
 * cell_paragraphs, figures, headers, footers, contents, char_count,
 * multi_byte_chars, single_byte_chars and headings (level, paraId, text);
 * null on failure. Needs no VESKAR_Init. Owned by the library. */
VESKAR_API const char* VESKAR_ParseFile(const char* sFile, int nReportType, int nResultFormat);

/* The plain text of a document: paragraphs in reading order, table cells
 * row by row; null on failure. Owned by the library. */
VESKAR_API const char* VESKAR_GetFileText(const char* sFile);

#ifdef __cplusplus
}
#endif

#endif /* VESKAR_H */

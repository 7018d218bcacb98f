/* Common services of the parser library: memory, strings, blank-skipping
 * scanners, token splitting, record-field setters and the assertion stop. */
#ifndef IBISPARSER_CMN_H
#define IBISPARSER_CMN_H

#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* File kinds, as taken by the file services, the reader and the checker. */
typedef enum {
    FILE_IBS = 1,
    FILE_PKG = 2,
    FILE_EBD = 3,
    FILE_AMI = 4
} FILE_TYPE;

/* The reader's line-length switch: 0 at load, set by the reader while it
 * reads an .ami file. */
extern int gbAllowAnyLineLength;

/* Words that may not be used as names, ended by an empty string. */
extern const char* const ReservedWords[];

/* Assertion stop: a null pointer, a missing size or an impossible internal
 * state is a programming error. Prints "<module>:<line>:assertion failed."
 * to standard output, flushes it and aborts. Each source file defines
 * CMN_MODULE_PATH ("IbisParser/<module>") before using CMN_ASSERT. */
#if defined(__GNUC__)
__attribute__((noreturn))
#endif
void CMN_AssertFailed(const char* module, int line);

#define CMN_ASSERT(cond)                                  \
    do {                                                  \
        if (!(cond))                                      \
            CMN_AssertFailed(CMN_MODULE_PATH, __LINE__);  \
    } while (0)

/* Memory: blocks are zero-filled at allocation and released with free. */
int CMN_malloc(void** slot, size_t size);
int CMN_realloc(void** slot, size_t size);
void CMN_free(void* p);
void CMN_freeSetNull(void** slot);
char* CMN_StrMake(const char* s);
char* CMN_StrMakeN(const char* s, int n);

/* Strings. */
char* CMN_strncpy(char* dst, const char* src, size_t n);
char* CMN_ultoa(unsigned long v);
int CMN_StrSameIC(const char* a, const char* b);
int CMN_StrSameICn(const char* a, const char* b, size_t n);
int CMN_MatchKeyword(const char* tableName, char* text);
void CMN_ConvertToUpper(char* s);
void CMN_ConvertToLower(char* s);
int CMN_AnyUpper(const char* s);
int CMN_ReservedWord(const char* word);   /* 0 when reserved */
void CMN_ReservedWordErr(const char* word);

/* Scanning: a cursor is advanced in place; blanks are isspace characters. */
int CMN_IsWhitespace(int c);
void CMN_EatWhitespace(char** cursor);
void CMN_EatNonWhitespace(char** cursor);
int CMN_EatKeyword(char** cursor);
void CMN_TerminateEnd(char* s);

/* Token splitting. */
typedef struct {
    int iMaxArgs;   /* slots asked for */
    int iCount;     /* tokens stored */
    int iTotal;     /* tokens found; may exceed iMaxArgs */
    char** psArgs;  /* iMaxArgs slots, each a new string or null */
} ARG_LIST;

/* The first token of text as CMN_ArgParsePlus splits it (its start and, in
 * len, its length), or NULL when there is none. */
const char* CMN_NextToken(const char* text, char extra, size_t* len);
int CMN_ArgParsePlus(const char* text, int max, char extra, ARG_LIST* list);
/* Splits text as CMN_ArgParsePlus does, copying its first max tokens into
 * store (room for strlen(text) + max bytes) with tokens[i] at each; returns
 * the number of tokens in text. */
int CMN_SplitInto(const char* text, char extra, int max, char* store, const char** tokens);
int CMN_ArgParse(const char* text, int max, ARG_LIST* list);
void CMN_ArgFree(ARG_LIST* list);

/* Setting record fields from keyword text. */
char* CMN_SetStr(char* dst, const char* src, unsigned maxLen, const char* kwName);
int CMN_SetKeywordStr(char* dst, const char* src, unsigned maxLen, const char* kwName);
int CMN_SetFilenameStr(char* dst, const char* src, unsigned maxLen, const char* kwName);
void CMN_TestRequiredKeyword(const char* kwName, int found);

/* ---- Values, columns, files and lines ---------------------------------- */

/* Directory of the file last opened by CMN_OpenFile, with its separator. */
extern char gsFilePath_ibs[1025];
/* The separator that joins a directory and a name.  On Windows both '\\' and
 * '/' separate directories in a path given to the reader. */
#ifdef _WIN32
#define CMN_DIR_SEPARATOR '\\'
#else
#define CMN_DIR_SEPARATOR '/'
#endif
int CMN_IsDirSeparator(char c);
/* dir, a separator unless dir is empty or ends in one, and name, into out of
 * size bytes.  0 (and an empty out) when that does not fit. */
int CMN_JoinDir(const char* dir, const char* name, char* out, size_t size);
/* The last directory separator in path, or NULL. */
const char* CMN_LastDirSeparator(const char* path);
/* Lets CMN_GetLine keep every character as it is. */
extern int gbAllowAnyCharacter;

/* Numbers with an optional scale letter and unit: 0 none, 1 a number, 2 a
 * number with a digit after its scale ("numeric in scale"). */
int s_GetValue(const char* text, double* value);
int CMN_Get_Value(const char* text, double* value);
int CMN_Get_ValueOrNA(const char* text, double* value, int* isNA);
/* Table columns: state 0 absent, 1 a number, 2 "NA". */
int CMN_GetColValue(const char* text, const char* sectionName, const char* columnName,
                    double* value, int* state);
/* strtod's value and end for text (the same doubles, faster for plain
 * decimals). */
double CMN_StrToD(const char* text, char** end);
int CMN_StrToDbl(const char* text, double* out);
int CMN_StrToUI(const char* text, unsigned* out);

/* Next token of an R/L/C section line: 1 Len, 2 R, 3 C, 4 L, 5 '/', 6 end,
 * 0 error. */
int CMN_gettok(const char* text, double* value, char** next);

/* Files. */
int CMN_OpenFile(const char* path, int fileType, FILE** fp, char* fileName);
FILE* CMN_fopen(const char* path, const char* mode);
char* CMN_GetIbsPath(char* dst);
char* CMN_getBasename(char* path);

/* Lines. */
char* CMN_GetLine(char* buf, unsigned size, FILE* fp);
char* CMN_GetInfiniteLine(unsigned* len, FILE* fp);
int CMN_AllowAnyCharacter(int on);

/* Version digit 1-5 of the first bracket line, or 0. */
int CMN_getIbisVer(const char* path, unsigned long* lineCount, int fileType);

#ifdef __cplusplus
}
#endif

#endif /* IBISPARSER_CMN_H */

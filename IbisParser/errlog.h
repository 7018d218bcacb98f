/* Numbered message log of the parser library.
 *
 * A numbered message is raised by its code; the code's printf format comes
 * from errorLogTable, is expanded with the caller's arguments and printed to
 * one stream with a severity prefix (and, for the line forms, the reader's
 * current line). The log counts what it printed and reports totals at the
 * end of a read-and-check pass. */
#ifndef IBISPARSER_ERRLOG_H
#define IBISPARSER_ERRLOG_H

#include <stdint.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
    ERRLOG_BUG = 0,
    ERRLOG_LINEBUG = 1,
    ERRLOG_ERROR = 2,
    ERRLOG_LINEERROR = 3,
    ERRLOG_WARN = 4,
    ERRLOG_LINEWARN = 5,
    ERRLOG_CAUTION = 6,
    ERRLOG_LINECAUTION = 7,
    ERRLOG_NOTE = 8,
    ERRLOG_LINENOTE = 9,
    ERRLOG_INFO = 10
} ERRLOG_SEVERITY;

/* One row of the message table: a four-digit code and its printf format. */
typedef struct {
    int32_t iCode;
    const char* sFormat;
} ERRLOG_TABLE_ENTRY;

/* Rows ordered by ascending code, one row per code; row 0 is code 0. */
extern const ERRLOG_TABLE_ENTRY errorLogTable[];
extern const int errorLogTableCount;

/* Size of the buffer a message is formatted into; longer texts are cut. */
#define ERRLOG_MESSAGE_SIZE 2560

/* Module state: one copy per process, shared by every read and every model
 * instance. An embedding program may change the switches. */
extern FILE* gpLogFile;               /* null: standard output */
extern unsigned long gulBug_cnt;
extern unsigned long gulError_cnt;
extern unsigned long gulWarn_cnt;
extern unsigned long gulCaution_cnt;
extern int gbOldStyleErrors;          /* 1: print without the code */
extern int gbSuppressCautions;        /* 1: cautions neither printed nor counted */
extern int gbSuppressBugs;
extern int gbSuppressErrors;
extern int gbSuppressWarns;

/* Numbered entries: a code of errorLogTable and the arguments of its format. */
void ERRLOG_BugNew(int code, ...);
void ERRLOG_LineBugNew(int code, ...);
void ERRLOG_ErrorNew(int code, ...);
void ERRLOG_LineErrorNew(int code, ...);
void ERRLOG_WarnNew(int code, ...);
void ERRLOG_LineWarnNew(int code, ...);
void ERRLOG_CautionNew(int code, ...);
void ERRLOG_NoteNew(int code, ...);
void ERRLOG_LineNoteNew(int code, ...);
/* A line error of code whose text the caller built from the code's format,
 * for a text that the format cannot give by itself. */
void ERRLOG_LineErrorTextNew(int code, const char* text);

/* Unnumbered entries: a printf format of the caller's; always printed
 * without a code. */
void ERRLOG_Bugx(const char* format, ...);
void ERRLOG_LineBugx(const char* format, ...);
void ERRLOG_Errorx(const char* format, ...);
void ERRLOG_LineErrorx(const char* format, ...);
void ERRLOG_Warnx(const char* format, ...);
void ERRLOG_LineWarnx(const char* format, ...);
void ERRLOG_Cautionx(const char* format, ...);
void ERRLOG_LineCautionx(const char* format, ...);
void ERRLOG_Notex(const char* format, ...);
void ERRLOG_LineNotex(const char* format, ...);

/* Control and report. */
void ERRLOG_SetOutputFile(FILE* stream);
void ERRLOG_SuppressBugs(int on);
void ERRLOG_SuppressErrors(int on);
void ERRLOG_SuppressWarns(int on);
void ERRLOG_GetCounts(unsigned long* bugs, unsigned long* errors, unsigned long* warns);
void ERRLOG_Totals(void);
/* The same report for counts the caller gives (those of one pass). */
void ERRLOG_TotalsOf(unsigned long bugs, unsigned long errors, unsigned long warns,
                     unsigned long cautions);

/* A copy of everything the log prints between the two calls: the text (freed
 * by the caller), or null when it could not be kept. */
void ERRLOG_BeginCapture(void);
char* ERRLOG_EndCapture(void);
/* Prints text, already laid out, where the log prints. */
void ERRLOG_PrintText(const char* text);

/* Row index of code in errorLogTable, or -1. */
int BSearchErrorLogTable(int code);

#ifdef __cplusplus
}
#endif

#endif /* IBISPARSER_ERRLOG_H */

// File header keywords: [IBIS Ver], [File Name], [File Rev], [Date],
// [Source], [Notes], [Disclaimer] and [Copyright].
#ifndef IBISPARSER_HDR_H
#define IBISPARSER_HDR_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct HeaderRecord {
    struct HeaderRecord* next;
    char IBIS_Version[71];
    char File_name[1025];
    char File_Rev[71];
    char Date[41];
    char* Source;
    char* Notes;
    char* Disclaimer;
    char* Copyright;
} HeaderRecord;

extern HeaderRecord* gpHdr;
extern int gbFoundIBIS_Ver, gbFoundFile_name, gbFoundFile_Rev, gbFoundDate;
extern int gbFoundSource, gbFoundNotes, gbFoundDisclaimer, gbFoundCopyright;
extern int eCurrentKeyword;
extern int gbAllowAnyVersion, gbAllow1xVersions, gbAllowAnyFile_name;

void HDR_Init(void);
void HDR_AddLink(HeaderRecord* rec, HeaderRecord* next);
void HDR_ReceiveLine(int lineKind, int keywordCode, char* text);
void HDR_Fini(int nextCode);
// Forgets the header being read, so that nothing of a freed container is
// touched by a later read.
void HDR_Reset(void);
void HDR_FreeList(HeaderRecord* list);

int HDR_GetIBIS_Ver(HeaderRecord* rec, char** out);
int HDR_GetFile_name(HeaderRecord* rec, char** out);
int HDR_GetFile_Rev(HeaderRecord* rec, char** out);
int HDR_GetDate(HeaderRecord* rec, char** out);
int HDR_GetSource(HeaderRecord* rec, char** out);
int HDR_GetNotes(HeaderRecord* rec, char** out);
int HDR_GetDisclaimer(HeaderRecord* rec, char** out);
int HDR_GetCopyright(HeaderRecord* rec, char** out);

int HDR_AllowAnyVersion(int on);
int HDR_Allow1xVersions(int on);
int HDR_AllowAnyFile_name(int on);

#ifdef __cplusplus
}
#endif

#endif

// File header keywords of .ibs, .pkg and .ebd files, and the IBIS version
// gate that every later keyword of the file is read under.
#include "hdr.h"

#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"

#define CMN_MODULE_PATH "IbisParser/hdr"

HeaderRecord* gpHdr;
int gbFoundIBIS_Ver, gbFoundFile_name, gbFoundFile_Rev, gbFoundDate;
int gbFoundSource, gbFoundNotes, gbFoundDisclaimer, gbFoundCopyright;
int eCurrentKeyword = KW_NOT_KEY;
int gbAllowAnyVersion, gbAllow1xVersions, gbAllowAnyFile_name;

// Lengths and block sizes of the current header's four texts (see
// s_AppendText); valid while s_textOwner is the current header.
enum { TXT_SOURCE, TXT_NOTES, TXT_DISCLAIMER, TXT_COPYRIGHT, TXT_COUNT };
static HeaderRecord* s_textOwner;
static size_t s_textLen[TXT_COUNT], s_textCap[TXT_COUNT];

int HDR_AllowAnyVersion(int on) { return gbAllowAnyVersion = on != 0; }
int HDR_Allow1xVersions(int on) { return gbAllow1xVersions = on != 0; }
int HDR_AllowAnyFile_name(int on) { return gbAllowAnyFile_name = on != 0; }

static void s_ClearFlags(void)
{
    gbFoundIBIS_Ver = gbFoundFile_name = gbFoundFile_Rev = gbFoundDate = 0;
    gbFoundSource = gbFoundNotes = gbFoundDisclaimer = gbFoundCopyright = 0;
}

void HDR_Init(void)
{
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(1000);
        return;
    }
    HeaderRecord* rec = nullptr;
    if (!CMN_malloc((void**)&rec, sizeof(HeaderRecord))) {
        ERRLOG_ErrorNew(1006);
        gpHdr = nullptr;
    } else {
        IBIS_AddHdr(ibis, rec);
        gpHdr = rec;
    }
    s_textOwner = nullptr;
    s_ClearFlags();
}

void HDR_AddLink(HeaderRecord* rec, HeaderRecord* next)
{
    CMN_ASSERT(rec != nullptr);
    rec->next = next;
}

void HDR_Reset(void)
{
    gpHdr = nullptr;
    s_textOwner = nullptr;
    eCurrentKeyword = KW_NOT_KEY;
}

// Joins piece to one of the current header's heap texts, a '\n' between
// the old text and the new one.  The lengths and block sizes of the current
// header's texts are kept here, so that a long text grows in amortised
// constant time per line instead of being copied whole for every line.

static char** s_TextField(HeaderRecord* h, int which)
{
    switch (which) {
    case TXT_SOURCE: return &h->Source;
    case TXT_NOTES: return &h->Notes;
    case TXT_DISCLAIMER: return &h->Disclaimer;
    default: return &h->Copyright;
    }
}

static void s_AppendText(int which, const char* piece)
{
    if (s_textOwner != gpHdr) {
        s_textOwner = gpHdr;
        for (int i = 0; i < TXT_COUNT; i++) {
            char* t = *s_TextField(gpHdr, i);
            s_textLen[i] = t ? strlen(t) : 0;
            s_textCap[i] = t ? s_textLen[i] + 1 : 0;
        }
    }
    char** field = s_TextField(gpHdr, which);
    int first = *field == nullptr;
    size_t oldLen = s_textLen[which];
    size_t newLen = strlen(piece);
    size_t need = oldLen + newLen + 2;
    if (need > s_textCap[which]) {
        size_t cap = s_textCap[which] * 2;
        if (cap < need) cap = need < 64 ? 64 : need;
        char* bigger = (char*)realloc(*field, cap);
        if (bigger == nullptr) {
            ERRLOG_LineErrorNew(1020);
            return;
        }
        *field = bigger;
        s_textCap[which] = cap;
    }
    char* t = *field;
    size_t at = oldLen;
    if (!first) t[at++] = '\n';
    memcpy(t + at, piece, newLen + 1);
    s_textLen[which] = at + newLen;
}

static void s_VersionGate(const char* v)
{
    static const char* const accepted[] = {"2.0", "2.1", "3.0", "3.1", "3.2",
                                           "4.0", "4.1", "4.2", "5.0"};
    if (v[0] == '\0') {
        if (gbAllowAnyVersion) geFileVersion = 5;
        return;
    }
    if (gbAllowAnyVersion) {
        geFileVersion = 5;
        return;
    }
    int ok = 0;
    for (const char* a : accepted)
        if (strcmp(v, a) == 0) ok = 1;
    if (!ok && gbAllow1xVersions && strncmp(v, "1.", 2) == 0) ok = 1;
    if (!ok) {
        ERRLOG_LineErrorNew(1008, v);
        return;
    }
    geFileVersion = v[0] - '0';
}

static int s_DosChar(char c)
{
    if (isalnum((unsigned char)c) || c == '.') return 1;
    return c != '\0' && strchr("!#$%&'()-@^_`{}~", c) != nullptr;
}

static void s_FileName(const char* text)
{
    if (gbFoundFile_name) {
        ERRLOG_LineErrorNew(1009);
        return;
    }
    gbFoundFile_name = 1;
    char* name = gpHdr->File_name;
    int stored;
    if (geFileVersion == 3)
        stored = CMN_SetFilenameStr(name, text, 24, "File_name");
    else if (geFileVersion >= 4)
        stored = CMN_SetFilenameStr(name, text, 44, "File_name");
    else
        stored = CMN_SetKeywordStr(name, text, 12, "File_name");
    if (!stored || gbAllowAnyFile_name || name[0] == '\0') return;

    int periods = 0;
    for (const char* p = name; *p; p++) {
        char c = *p;
        if (isupper((unsigned char)c))
            ERRLOG_LineErrorNew(1010, name, c);
        else if (!s_DosChar(c))
            ERRLOG_LineErrorNew(1011, name, c);
        if (c == '.' && ++periods > 1) ERRLOG_LineErrorNew(1012, name);
    }
    if (periods == 0) ERRLOG_LineErrorNew(1013, name);

    char opened[1025];
    PARSE_GetFileName(opened);
    if (!CMN_StrSameIC(opened, name)) ERRLOG_LineErrorNew(1014, opened, name);
    CMN_ReservedWordErr(name);
}

static void s_KeywordLine(int code, char* text)
{
    eCurrentKeyword = code;
    CMN_EatKeyword(&text);
    if (code > KW_COPYRIGHT || code == KW_COMMENT_CHAR) {
        ERRLOG_LineBugNew(1003);
        return;
    }
    switch (code) {
    case KW_IBIS_VER:
        if (gbFoundFile_name || gbFoundFile_Rev || gbFoundDate || gbFoundSource ||
            gbFoundNotes || gbFoundDisclaimer || gbFoundCopyright)
            ERRLOG_LineErrorNew(1007);
        if (gbFoundIBIS_Ver) {
            ERRLOG_LineErrorNew(1005);
            return;
        }
        gbFoundIBIS_Ver = 1;
        if (!CMN_SetKeywordStr(gpHdr->IBIS_Version, text, 70, "IBIS_Version")) return;
        s_VersionGate(gpHdr->IBIS_Version);
        break;
    case KW_FILE_NAME:
        s_FileName(text);
        break;
    case KW_FILE_REV:
        if (gbFoundFile_Rev) {
            ERRLOG_LineErrorNew(1015);
            return;
        }
        gbFoundFile_Rev = 1;
        if (CMN_SetKeywordStr(gpHdr->File_Rev, text, 70, "File_Rev"))
            CMN_ReservedWordErr(gpHdr->File_Rev);
        break;
    case KW_DATE:
        if (gbFoundDate) {
            ERRLOG_LineErrorNew(1016);
            return;
        }
        gbFoundDate = 1;
        if (CMN_SetKeywordStr(gpHdr->Date, text, 40, "Date")) CMN_ReservedWordErr(gpHdr->Date);
        break;
    case KW_SOURCE:
        if (gbFoundSource) {
            ERRLOG_LineErrorNew(1017);
            return;
        }
        gbFoundSource = 1;
        s_AppendText(TXT_SOURCE, text);
        break;
    case KW_NOTES:
        if (gbFoundNotes) {
            ERRLOG_LineErrorNew(1018);
            return;
        }
        gbFoundNotes = 1;
        s_AppendText(TXT_NOTES, text);
        break;
    case KW_DISCLAIMER:
        gbFoundDisclaimer = 1;
        s_AppendText(TXT_DISCLAIMER, text);
        break;
    case KW_COPYRIGHT:
        if (gbFoundCopyright) {
            ERRLOG_LineErrorNew(1019);
            return;
        }
        gbFoundCopyright = 1;
        s_AppendText(TXT_COPYRIGHT, text);
        break;
    default:
        break;
    }
}

void HDR_ReceiveLine(int lineKind, int keywordCode, char* text)
{
    CMN_ASSERT(text != nullptr);
    if (gpHdr == nullptr) {
        if (lineKind == PARSE_LINE_KEYWORD)
            ERRLOG_LineErrorNew(1001);
        else
            ERRLOG_LineErrorNew(1002);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD) {
        s_KeywordLine(keywordCode, text);
    } else if (lineKind == PARSE_LINE_DATA) {
        switch (eCurrentKeyword) {
        case KW_SOURCE: s_AppendText(TXT_SOURCE, text); break;
        case KW_NOTES: s_AppendText(TXT_NOTES, text); break;
        case KW_DISCLAIMER: s_AppendText(TXT_DISCLAIMER, text); break;
        case KW_COPYRIGHT: s_AppendText(TXT_COPYRIGHT, text); break;
        default: ERRLOG_LineErrorNew(1002); break;
        }
    } else {
        ERRLOG_LineBugNew(1004);
    }
}

void HDR_Fini(int nextCode)
{
    if (nextCode >= KW_FILE_NAME && nextCode <= KW_COPYRIGHT) return;
    if (gpHdr == nullptr) return;
    if (nextCode == KW_IBIS_VER) {
        ERRLOG_LineErrorNew(1005);
        return;
    }
    CMN_TestRequiredKeyword("IBIS_Version", gbFoundIBIS_Ver);
    CMN_TestRequiredKeyword("File_name", gbFoundFile_name);
    CMN_TestRequiredKeyword("File_Rev", gbFoundFile_Rev);
    gpHdr = nullptr;
    s_textOwner = nullptr;
}

void HDR_FreeList(HeaderRecord* list)
{
    while (list != nullptr) {
        HeaderRecord* next = list->next;
        free(list->Source);
        free(list->Notes);
        free(list->Disclaimer);
        free(list->Copyright);
        free(list);
        list = next;
    }
}

static int s_Fixed(HeaderRecord* rec, char** out, char* field)
{
    CMN_ASSERT(rec != nullptr && out != nullptr);
    if (field[0] != '\0') {
        *out = field;
        return 1;
    }
    *out = nullptr;
    return 0;
}

static int s_Text(HeaderRecord* rec, char** out, char* const* field)
{
    CMN_ASSERT(rec != nullptr && out != nullptr);
    *out = *field;
    return *field != nullptr;
}

int HDR_GetIBIS_Ver(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Fixed(r, o, r->IBIS_Version); }
int HDR_GetFile_name(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Fixed(r, o, r->File_name); }
int HDR_GetFile_Rev(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Fixed(r, o, r->File_Rev); }
int HDR_GetDate(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Fixed(r, o, r->Date); }
int HDR_GetSource(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Text(r, o, &r->Source); }
int HDR_GetNotes(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Text(r, o, &r->Notes); }
int HDR_GetDisclaimer(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Text(r, o, &r->Disclaimer); }
int HDR_GetCopyright(HeaderRecord* r, char** o) { CMN_ASSERT(r); return s_Text(r, o, &r->Copyright); }

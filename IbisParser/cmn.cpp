#include "cmn.h"

#include "errlog.h"
#include "parse.h"

#include <ctype.h>
#include <limits.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CMN_MODULE_PATH "IbisParser/cmn"

namespace {

/* Longest text that the record-field setters copy or quote. */
const unsigned kSetStrLimit = 2176;

/* Longest file name a record holds (the field holds one byte more). */
const size_t kFileNameLimit = 1024;

/* Printable 7-bit characters, the bulk of every file, are settled without
 * the locale's table. */
inline int s_Blank(char c)
{
    unsigned char u = (unsigned char)c;
    if (u > ' ' && u < 127) return 0;
    return u == ' ' || isspace(u) != 0;
}

/* The size as the allocator messages print it; a request beyond their field
 * shows as the largest value rather than wrapping round to a small one. */
unsigned s_RequestSize(size_t size) { return size > UINT_MAX ? UINT_MAX : (unsigned)size; }

} // namespace

extern "C" {

int gbAllowAnyLineLength = 0;

const char* const ReservedWords[] = {"GND", "NC", "POWER", "CIRCUITCALL", "NA", ""};

void CMN_AssertFailed(const char* module, int line)
{
    printf("%s:%d:assertion failed.\n", module ? module : "", line);
    fflush(stdout);
    abort();
}

/* ---- Memory ---- */

int CMN_malloc(void** slot, size_t size)
{
    CMN_ASSERT(slot != NULL);
    CMN_ASSERT(size != 0);
    *slot = calloc(1, size);
    if (*slot == NULL) {
        ERRLOG_ErrorNew(1906, s_RequestSize(size));
        return 0;
    }
    return 1;
}

int CMN_realloc(void** slot, size_t size)
{
    CMN_ASSERT(slot != NULL);
    CMN_ASSERT(size != 0);
    void* grown = realloc(*slot, size);
    if (grown == NULL) {
        /* The slot is cleared, so nothing else can reach the old block:
         * release it rather than leak it. */
        free(*slot);
        *slot = NULL;
        ERRLOG_ErrorNew(1907, s_RequestSize(size));
        return 0;
    }
    *slot = grown;
    return 1;
}

void CMN_free(void* p)
{
    CMN_ASSERT(p != NULL);
    free(p);
}

void CMN_freeSetNull(void** slot)
{
    CMN_ASSERT(slot != NULL);
    CMN_ASSERT(*slot != NULL);
    free(*slot);
    *slot = NULL;
}

char* CMN_StrMake(const char* s)
{
    if (s == NULL)
        return NULL;
    void* copy = NULL;
    size_t len = strlen(s);
    if (!CMN_malloc(&copy, len + 1)) {
        ERRLOG_BugNew(1908, CMN_MODULE_PATH, __LINE__);
        return NULL;
    }
    memcpy(copy, s, len);
    return (char*)copy;
}

char* CMN_StrMakeN(const char* s, int n)
{
    if (s == NULL || n < 0)
        return NULL;
    char* copy = (char*)calloc(1, (size_t)n + 1);
    if (copy == NULL)
        return NULL;
    /* Never read past the end of a source shorter than n. */
    memcpy(copy, s, strnlen(s, (size_t)n));
    return copy;
}

/* ---- Strings ---- */

char* CMN_strncpy(char* dst, const char* src, size_t n)
{
    strncpy(dst, src, n);
    dst[n] = '\0';
    return dst;
}

char* CMN_ultoa(unsigned long v)
{
    static char s_sBuffer[24];
    snprintf(s_sBuffer, sizeof s_sBuffer, "%lu", v);
    return s_sBuffer;
}

int CMN_StrSameIC(const char* a, const char* b)
{
    CMN_ASSERT(a != NULL);
    CMN_ASSERT(b != NULL);
    for (;; ++a, ++b) {
        if (toupper((unsigned char)*a) != toupper((unsigned char)*b))
            return 0;
        if (*a == '\0')
            return 1;
    }
}

int CMN_StrSameICn(const char* a, const char* b, size_t n)
{
    CMN_ASSERT(a != NULL);
    CMN_ASSERT(b != NULL);
    CMN_ASSERT(n != 0);
    for (size_t i = 0; i < n; ++i) {
        if (toupper((unsigned char)a[i]) != toupper((unsigned char)b[i]))
            return 0;
        if (a[i] == '\0')
            return 1;
    }
    return 1;
}

int CMN_MatchKeyword(const char* tableName, char* text)
{
    CMN_ASSERT(tableName != NULL);
    CMN_ASSERT(text != NULL);
    for (char* p = text; *p; ++p)
        if (s_Blank(*p))
            *p = '_';
    return CMN_StrSameIC(tableName, text);
}

void CMN_ConvertToUpper(char* s)
{
    for (; s && *s; ++s)
        *s = (char)toupper((unsigned char)*s);
}

void CMN_ConvertToLower(char* s)
{
    for (; s && *s; ++s)
        *s = (char)tolower((unsigned char)*s);
}

int CMN_AnyUpper(const char* s)
{
    for (; s && *s; ++s)
        if (isupper((unsigned char)*s))
            return 1;
    return 0;
}

int CMN_ReservedWord(const char* word)
{
    if (word == NULL)
        return 1;
    for (int i = 0; ReservedWords[i][0] != '\0'; ++i)
        if (CMN_StrSameIC(ReservedWords[i], word))
            return 0;
    return 1;
}

void CMN_ReservedWordErr(const char* word)
{
    if (CMN_ReservedWord(word) == 0)
        ERRLOG_LineErrorNew(1916, word);
}

/* ---- Scanning ---- */

int CMN_IsWhitespace(int c)
{
    if (c < 0 || c > 255)
        return 0;
    return isspace(c);
}

/* A long run of blanks is ordinary input (a host's parameter string, a
 * padded line), so every run is followed to its end, whatever the reader's
 * line-length switch says. */
void CMN_EatWhitespace(char** cursor)
{
    CMN_ASSERT(cursor != NULL);
    CMN_ASSERT(*cursor != NULL);
    char* p = *cursor;
    while (*p && s_Blank(*p))
        ++p;
    *cursor = p;
}

void CMN_EatNonWhitespace(char** cursor)
{
    CMN_ASSERT(cursor != NULL);
    CMN_ASSERT(*cursor != NULL);
    char* p = *cursor;
    while (*p && !s_Blank(*p))
        ++p;
    *cursor = p;
}

int CMN_EatKeyword(char** cursor)
{
    CMN_ASSERT(cursor != NULL);
    CMN_ASSERT(*cursor != NULL);
    char* p = *cursor;
    while (*p && *p != ']')
        ++p;
    if (*p == '\0') {
        *cursor = p;
        return 0;
    }
    ++p;
    CMN_EatWhitespace(&p);
    *cursor = p;
    return 1;
}

void CMN_TerminateEnd(char* s)
{
    CMN_ASSERT(s != NULL);
    size_t len = strlen(s);
    while (len > 1 && s_Blank(s[len - 1]))
        s[--len] = '\0';
}

/* ---- Token splitting ---- */

const char* CMN_NextToken(const char* text, char extra, size_t* len)
{
    CMN_ASSERT(text != NULL && len != NULL);
    const char* p = text;
    while (*p && s_Blank(*p))
        ++p;
    if (*p == '\0') {
        *len = 0;
        return NULL;
    }
    const char* end = p;
    if (extra != '\0' && *end == extra)
        ++end;
    else
        while (*end != '\0' && *end != ' ' && *end != '\t' && !(extra != '\0' && *end == extra))
            ++end;
    *len = (size_t)(end - p);
    return p;
}

/* The slots and the text of the tokens kept are one block (tables of many
 * thousand rows are split a line at a time): CMN_ArgFree releases it. */
int CMN_ArgParsePlus(const char* text, int max, char extra, ARG_LIST* list)
{
    CMN_ASSERT(list != NULL);
    list->iMaxArgs = max;
    list->iCount = 0;
    list->iTotal = 0;
    size_t textBytes = 0;
    int total = 0;
    size_t n = 0;
    if (text != NULL) {
        for (const char* p = CMN_NextToken(text, extra, &n); p != NULL;
             p = CMN_NextToken(p + n, extra, &n)) {
            if (total < max)
                textBytes += n + 1;
            ++total;
        }
    }
    if (max > 0) {
        if (!CMN_malloc((void**)&list->psArgs, (size_t)max * sizeof(char*) + textBytes)) {
            ERRLOG_BugNew(1908, CMN_MODULE_PATH, __LINE__);
            return 0;
        }
    }
    list->iTotal = total;
    if (text == NULL || max <= 0)
        return 1;
    int all = CMN_SplitInto(text, extra, max, (char*)(list->psArgs + max),
                            (const char**)list->psArgs);
    list->iCount = all < max ? all : max;
    return 1;
}

int CMN_SplitInto(const char* text, char extra, int max, char* store, const char** tokens)
{
    CMN_ASSERT(text != NULL && store != NULL && tokens != NULL);
    int total = 0;
    size_t n = 0;
    for (const char* p = CMN_NextToken(text, extra, &n); p != NULL;
         p = CMN_NextToken(p + n, extra, &n), total++) {
        if (total >= max)
            continue;
        memcpy(store, p, n);
        store[n] = '\0';
        tokens[total] = store;
        store += n + 1;
    }
    return total;
}

int CMN_ArgParse(const char* text, int max, ARG_LIST* list)
{
    return CMN_ArgParsePlus(text, max, '\0', list);
}

/* The slot array is cleared after release, so a second free is an
 * assertion stop rather than a double release. */
void CMN_ArgFree(ARG_LIST* list)
{
    CMN_ASSERT(list != NULL);
    CMN_ASSERT(list->psArgs != NULL);
    free(list->psArgs);
    list->psArgs = NULL;
}

/* ---- Setting record fields from keyword text ---- */

char* CMN_SetStr(char* dst, const char* src, unsigned maxLen, const char* kwName)
{
    CMN_ASSERT(dst != NULL);
    CMN_ASSERT(src != NULL);
    CMN_ASSERT(kwName != NULL);
    CMN_ASSERT(maxLen != 0);
    unsigned len = maxLen < kSetStrLimit ? maxLen : kSetStrLimit;
    size_t srcLen = strlen(src);
    if (srcLen > len)
        ERRLOG_LineErrorNew(1912, kwName, src, len);
    else if (srcLen == 0)
        ERRLOG_LineErrorNew(1913, kwName);
    return CMN_strncpy(dst, src, len);
}

int CMN_SetKeywordStr(char* dst, const char* src, unsigned maxLen, const char* kwName)
{
    CMN_ASSERT(dst != NULL);
    CMN_ASSERT(kwName != NULL);
    if (dst[0] != '\0') {
        ERRLOG_LineErrorNew(1911, kwName);
        return 0;
    }
    CMN_SetStr(dst, src, maxLen, kwName);
    return 1;
}

int CMN_SetFilenameStr(char* dst, const char* src, unsigned maxLen, const char* kwName)
{
    CMN_ASSERT(dst != NULL);
    CMN_ASSERT(src != NULL);
    CMN_ASSERT(kwName != NULL);
    if (dst[0] != '\0') {
        ERRLOG_LineErrorNew(1911, kwName);
        return 0;
    }
    size_t srcLen = strlen(src);
    if (srcLen > maxLen)
        ERRLOG_LineErrorNew(1914, kwName, src, maxLen < kSetStrLimit ? maxLen : kSetStrLimit);
    else if (srcLen == 0)
        ERRLOG_LineErrorNew(1913, kwName);
    CMN_strncpy(dst, src, kFileNameLimit);
    return 1;
}

void CMN_TestRequiredKeyword(const char* kwName, int found)
{
    CMN_ASSERT(kwName != NULL);
    if (found == 0) {
        char fileName[kFileNameLimit + 1];
        ERRLOG_ErrorNew(1915, kwName, PARSE_GetFileName(fileName));
    }
}

/* ---- Values, columns, files and lines ---------------------------------- */

int CMN_IsDirSeparator(char c)
{
#ifdef _WIN32
    if (c == '/') return 1;
#endif
    return c == CMN_DIR_SEPARATOR;
}

int CMN_JoinDir(const char* dir, const char* name, char* out, size_t size)
{
    CMN_ASSERT(dir != NULL && name != NULL && out != NULL && size > 0);
    size_t dirLen = strlen(dir), nameLen = strlen(name);
    int addSep = dirLen > 0 && !CMN_IsDirSeparator(dir[dirLen - 1]);
    if (dirLen + (addSep ? 1 : 0) + nameLen >= size) {
        out[0] = '\0';
        return 0;
    }
    memcpy(out, dir, dirLen);
    if (addSep) out[dirLen++] = CMN_DIR_SEPARATOR;
    memcpy(out + dirLen, name, nameLen + 1);
    return 1;
}

const char* CMN_LastDirSeparator(const char* path)
{
    CMN_ASSERT(path != NULL);
    const char* last = NULL;
    for (const char* p = path; *p; p++)
        if (CMN_IsDirSeparator(*p)) last = p;
    return last;
}

char gsFilePath_ibs[1025] = "";
int gbAllowAnyCharacter = 0;

static const struct {
    char letter;
    double factor;
} Scales[] = {
    {'T', 1e12}, {'G', 1e9}, {'M', 1e6}, {'k', 1e3}, {'m', 1e-3},
    {'u', 1e-6}, {'n', 1e-9}, {'p', 1e-12}, {'f', 1e-15},
};

/* strtod, with a short way for the plain decimals that make up the tables:
 * at most 15 significant digits and a power of ten within 22, which both
 * doubles hold exactly, so that the one product or quotient is the correctly
 * rounded value strtod gives.  Anything else (blanks, hexadecimal, infinity,
 * long mantissas, large exponents, a locale whose decimal point is not '.')
 * goes to strtod.  The locale is looked at again for each file opened. */
static int s_dotLocale = -1;

static double s_StrToD(const char* text, char** end)
{
    static const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = text;
    int negative = 0;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return strtod(text, end);
    unsigned long long mantissa = 0;
    int digits = 0, anyDigit = 0, scale = 0;
    for (; *p >= '0' && *p <= '9'; p++) {
        anyDigit = 1;
        if (mantissa == 0 && *p == '0') continue;
        if (++digits > 15) return strtod(text, end);
        mantissa = mantissa * 10 + (unsigned)(*p - '0');
    }
    if (*p == '.') {
        for (p++; *p >= '0' && *p <= '9'; p++) {
            anyDigit = 1;
            scale--;
            if (mantissa == 0 && *p == '0') continue;
            if (++digits > 15) return strtod(text, end);
            mantissa = mantissa * 10 + (unsigned)(*p - '0');
        }
    }
    if (!anyDigit) return strtod(text, end);
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        int expNegative = 0;
        if (*q == '+' || *q == '-') expNegative = *q++ == '-';
        if (*q >= '0' && *q <= '9') {
            int exponent = 0;
            for (; *q >= '0' && *q <= '9'; q++) {
                if (exponent > 1000) return strtod(text, end);
                exponent = exponent * 10 + (*q - '0');
            }
            scale += expNegative ? -exponent : exponent;
            p = q;
        }
    }
    if (scale < -22 || scale > 22) return strtod(text, end);
    if (s_dotLocale < 0) {
        const struct lconv* lc = localeconv();
        s_dotLocale = lc->decimal_point[0] == '.' && lc->decimal_point[1] == '\0';
    }
    if (!s_dotLocale) return strtod(text, end);
    double v = (double)mantissa;
    v = scale < 0 ? v / kPow10[-scale] : v * kPow10[scale];
    *end = (char*)p;
    return negative ? -v : v;
}

double CMN_StrToD(const char* text, char** end)
{
    CMN_ASSERT(text != NULL && end != NULL);
    return s_StrToD(text, end);
}

int s_GetValue(const char* text, double* value)
{
    CMN_ASSERT(text != NULL && value != NULL);
    char* end = NULL;
    double number = s_StrToD(text, &end);
    if (end == text) return 0;
    if (*end == '\0') {
        *value = number;
        return 1;
    }
    double factor = 1.0;
    int scaled = 0;
    for (const auto& s : Scales) {
        if (*end == s.letter) {
            factor = s.factor;
            scaled = 1;
            break;
        }
    }
    if (!scaled && !isalpha((unsigned char)*end)) return 0;
    *value = number * factor;
    for (const char* p = end + 1; *p; p++)
        if (isdigit((unsigned char)*p)) return 2;
    return 1;
}

int CMN_Get_Value(const char* text, double* value) { return s_GetValue(text, value); }

int CMN_Get_ValueOrNA(const char* text, double* value, int* isNA)
{
    CMN_ASSERT(text != NULL && value != NULL && isNA != NULL);
    if (CMN_StrSameIC(text, "NA")) {
        *value = 0;
        *isNA = 1;
        return 1;
    }
    *isNA = 0;
    return CMN_Get_Value(text, value);
}

int CMN_GetColValue(const char* text, const char* sectionName, const char* columnName,
                    double* value, int* state)
{
    CMN_ASSERT(value != NULL && state != NULL);
    *state = 0;
    if (text == NULL) return 1;
    if (CMN_StrSameIC(text, "NA")) {
        *value = 0;
        *state = 2;
        return 1;
    }
    switch (CMN_Get_Value(text, value)) {
    case 0:
        ERRLOG_LineErrorNew(1909, columnName, text);
        return 0;
    case 2:
        ERRLOG_LineWarnNew(1910, columnName, sectionName, text);
        *state = 1;
        return 1;
    default:
        *state = 1;
        return 1;
    }
}

int CMN_StrToDbl(const char* text, double* out)
{
    CMN_ASSERT(text != NULL && out != NULL);
    char* end = NULL;
    *out = s_StrToD(text, &end);
    if (end == text) return 0;
    return *end ? 2 : 1;
}

int CMN_StrToUI(const char* text, unsigned* out)
{
    CMN_ASSERT(text != NULL && out != NULL);
    const char* p = text;
    while (isspace((unsigned char)*p)) p++;
    if (*p == '-') return 0;
    char* end = NULL;
    unsigned long v = strtoul(text, &end, 10);
    *out = (unsigned)v;
    if (end == text) return 0;
    return *end ? 2 : 1;
}

static int s_IsSpaceTab(char c) { return c == ' ' || c == '\t'; }

static const char* s_SkipSpaceTab(const char* p)
{
    while (s_IsSpaceTab(*p)) p++;
    return p;
}

int CMN_gettok(const char* text, double* value, char** next)
{
    CMN_ASSERT(text != NULL && value != NULL && next != NULL);
    const char* p = s_SkipSpaceTab(text);
    if (*p == '\0') {
        *next = (char*)p;
        return 6;
    }
    if (*p == '/') {
        *next = (char*)s_SkipSpaceTab(p + 1);
        return 5;
    }
    if (*p == '=') {
        ERRLOG_LineErrorNew(1918);
        *next = (char*)s_SkipSpaceTab(p + 1);
        return 0;
    }
    const char* name = p;
    while (*p && !s_IsSpaceTab(*p) && *p != '=' && *p != '/') p++;
    size_t nameLen = (size_t)(p - name);
    int kind = 0;
    if (nameLen == 3 && strncmp(name, "Len", 3) == 0) kind = 1;
    else if (nameLen == 1 && name[0] == 'R') kind = 2;
    else if (nameLen == 1 && name[0] == 'C') kind = 3;
    else if (nameLen == 1 && name[0] == 'L') kind = 4;
    if (kind == 0) {
        char* copy = CMN_StrMakeN(name, (int)nameLen);
        ERRLOG_LineErrorNew(1919, copy ? copy : "");
        free(copy);
        *next = (char*)p;
        return 0;
    }
    p = s_SkipSpaceTab(p);
    if (*p == '\0') {
        ERRLOG_LineErrorNew(1920);
        *next = (char*)p;
        return 6;
    }
    if (*p != '=') {
        ERRLOG_LineErrorNew(1921);
        const char* slash = strchr(p, '/');
        *next = (char*)(slash ? slash + 1 : p + strlen(p));
        return 0;
    }
    p = s_SkipSpaceTab(p + 1);
    if (*p == '\0') {
        ERRLOG_LineErrorNew(1920);
        *next = (char*)p;
        return 6;
    }
    const char* start = p;
    while (*p && !s_IsSpaceTab(*p) && *p != '/') p++;
    if (p > start) {
        char* copy = CMN_StrMakeN(start, (int)(p - start));
        if (copy == NULL || CMN_Get_Value(copy, value) != 1)
            ERRLOG_LineErrorNew(1922, copy ? copy : "");
        free(copy);
    } else {
        ERRLOG_LineErrorNew(1923);
        *value = 0;
    }
    *next = (char*)s_SkipSpaceTab(p);
    return kind;
}

FILE* CMN_fopen(const char* path, const char* mode)
{
#ifdef _WIN32
    /* Binary mode, so that the line reader's own CR LF rule applies. */
    char binary[8];
    size_t n = strlen(mode);
    if (n > 0 && n < sizeof binary - 1) {
        binary[0] = mode[0];
        binary[1] = 'b';
        memcpy(binary + 2, mode + 1, n);
        return fopen(path, binary);
    }
#endif
    return fopen(path, mode);
}

static const char* const s_defaultExt[] = {"", ".ibs", ".pkg", ".ebd", ".ami"};
static const int s_extMessage[] = {0, 1900, 1903, 1902, 1924};

int CMN_OpenFile(const char* path, int fileType, FILE** fp, char* fileName)
{
    CMN_ASSERT(path != NULL && fp != NULL && fileName != NULL);
    CMN_ASSERT(fileType >= FILE_IBS && fileType <= FILE_AMI);
    *fp = NULL;
    s_dotLocale = -1;
    size_t pathLen = strlen(path);
    /* A referenced file name comes from a file's contents: a path too long to
     * hold is reported, not taken for a programming error. */
    if (pathLen >= 1024 && (fileType == FILE_PKG || fileType == FILE_AMI)) {
        ERRLOG_ErrorNew(1904);
        return 0;
    }
    const char* sep = CMN_LastDirSeparator(path);
    const char* name = path;
    if (sep != NULL) {
        size_t dirLen = (size_t)(sep - path) + 1;
        if (dirLen > 1024 || pathLen - dirLen > 1024) {
            ERRLOG_ErrorNew(1904);
            return 0;
        }
        memcpy(gsFilePath_ibs, path, dirLen);
        gsFilePath_ibs[dirLen] = '\0';
        name = sep + 1;
    } else if (pathLen > 1024) {
        ERRLOG_ErrorNew(1904);
        return 0;
    }
    CMN_strncpy(fileName, name, 1024);

    const char* ext = s_defaultExt[fileType];
    const char* dot = strrchr(fileName, '.');
    if (dot == NULL) {
        if (strlen(fileName) + strlen(ext) > 1024) {
            ERRLOG_ErrorNew(1901);
            return 0;
        }
        strcat(fileName, ext);
    } else if (!CMN_StrSameICn(dot, ext, 4) || strlen(dot) < 4) {
        ERRLOG_ErrorNew(s_extMessage[fileType]);
        return 0;
    }

    size_t dirLen = strlen(gsFilePath_ibs), nameLen = strlen(fileName);
    if (dirLen + nameLen > 1024) {
        ERRLOG_ErrorNew(1904);
        return 0;
    }
    char joined[1025];
    memcpy(joined, gsFilePath_ibs, dirLen);
    memcpy(joined + dirLen, fileName, nameLen + 1);

    *fp = CMN_fopen(joined, "r");
    if (*fp == NULL) {
        CMN_ConvertToLower(joined);
        *fp = CMN_fopen(joined, "r");
        if (*fp != NULL) CMN_ConvertToLower(gsFilePath_ibs);
    }
    if (*fp == NULL) {
        CMN_ConvertToUpper(joined);
        *fp = CMN_fopen(joined, "r");
        if (*fp != NULL) CMN_ConvertToUpper(gsFilePath_ibs);
    }
    if (*fp == NULL) {
        ERRLOG_ErrorNew(1905, gsFilePath_ibs, fileName);
        return 0;
    }
    return 1;
}

char* CMN_GetIbsPath(char* dst)
{
    CMN_ASSERT(dst != NULL);
    CMN_strncpy(dst, gsFilePath_ibs, 1024);
    return dst;
}

char* CMN_getBasename(char* path)
{
    CMN_ASSERT(path != NULL);
    const char* sep = CMN_LastDirSeparator(path);
    char* base = sep ? path + (sep - path) + 1 : path;
#ifdef _WIN32
    char* dot = strrchr(base, '.');
    if (dot != NULL) *dot = '\0';
#endif
    return base;
}

/* Each file is read by one reader only: characters are taken without the
 * stream's lock, one call per character being most of the reading time. */
#ifdef _WIN32
#define CMN_GETC(fp) _getc_nolock(fp)
#else
#define CMN_GETC(fp) getc_unlocked(fp)
#endif

/* Whether the line rules take a character as it is: a printable 7-bit
 * character or a tab. */
static inline int s_PlainChar(int c) { return (c >= 32 && c < 127) || c == '\t'; }

/* The rest of the character rules, for a character that is not plain: a line
 * end gives '\n', the end of the text EOF; an illegal character is reported
 * and (unless any character is allowed) becomes a blank. */
static int s_SpecialChar(int c, FILE* fp, int roomLeft)
{
    if (c == EOF || c == '\n') return c;
    if (c == '\r') {
        int d = CMN_GETC(fp);
        if (d == '\n') return '\n';
        if (d != EOF) ungetc(d, fp);
    } else if (c == 26) {
        int d = CMN_GETC(fp);
        if (d == EOF) return EOF;
        ungetc(d, fp);
    }
    if (gbAllowAnyCharacter) return c;
    const char* kind = NULL;
    if (c == 0) kind = "NUL";
    else if (c < 32 && c != '\t') kind = "control";
    else if (c > 127) kind = "non-7-bit ASCII";
    if (kind == NULL) return c;
    ERRLOG_LineErrorNew(1917, kind, c, roomLeft ? "  Converting to space." : "");
    return ' ';
}

char* CMN_GetLine(char* buf, unsigned size, FILE* fp)
{
    if (buf == NULL || fp == NULL || size == 0) return NULL;
    if (size == 1) {
        buf[0] = '\0';
        return buf;
    }
    int c = CMN_GETC(fp);
    if (c == EOF) return NULL;
    unsigned n = 0;
    int endedWithLF = 0;
    for (;; c = CMN_GETC(fp)) {
        if (!s_PlainChar(c)) {
            c = s_SpecialChar(c, fp, n < size - 1);
            if (c == EOF) break;
            if (c == '\n') {
                endedWithLF = 1;
                break;
            }
        }
        if (n < size - 1) buf[n++] = (char)c;
    }
    if (endedWithLF && n < size - 1) buf[n++] = '\n';
    buf[n] = '\0';
    return buf;
}

char* CMN_GetInfiniteLine(unsigned* len, FILE* fp)
{
    if (fp == NULL) return NULL;
    int c = CMN_GETC(fp);
    if (c == EOF) return NULL;
    size_t n = 0, capacity = 64;
    char* line = (char*)malloc(capacity);
    if (line == NULL) {
        ERRLOG_ErrorNew(1906, (unsigned)capacity);
        return NULL;
    }
    int endedWithLF = 0;
    for (;; c = CMN_GETC(fp)) {
        if (!s_PlainChar(c)) {
            c = s_SpecialChar(c, fp, 1);
            if (c == EOF) break;
            if (c == '\n') {
                endedWithLF = 1;
                break;
            }
        }
        if (n + 2 >= capacity) {
            char* bigger = (char*)realloc(line, capacity * 2);
            if (bigger == NULL) {
                ERRLOG_ErrorNew(1907, (unsigned)(capacity * 2));
                free(line);
                return NULL;
            }
            line = bigger;
            capacity *= 2;
        }
        line[n++] = (char)c;
    }
    if (endedWithLF) line[n++] = '\n';
    line[n] = '\0';
    if (len != NULL) *len = (unsigned)(strlen(line) + 1);
    return line;
}

int CMN_AllowAnyCharacter(int on)
{
    gbAllowAnyCharacter = on != 0;
    return gbAllowAnyCharacter;
}

int CMN_getIbisVer(const char* path, unsigned long* lineCount, int fileType)
{
    CMN_ASSERT(path != NULL);
    FILE* fp = NULL;
    char name[1025];
    if (!CMN_OpenFile(path, fileType, &fp, name)) return 0;
    /* The probe reads the lines that the reader reads again; their character
     * messages are given once, by the reader, with the right line numbers. */
    int savedAny = gbAllowAnyCharacter;
    gbAllowAnyCharacter = 1;
    char line[121];
    int version = 0;
    while (CMN_GetLine(line, sizeof line, fp) != NULL) {
        if (lineCount != NULL) (*lineCount)++;
        const char* p = line;
        while (*p && isspace((unsigned char)*p)) p++;
        if (*p != '[') continue;
        if (CMN_StrSameICn(p, "[IBIS Ver]", 10) || CMN_StrSameICn(p, "[IBIS_Ver]", 10)) {
            const char* v = p + 10;
            while (*v && isspace((unsigned char)*v)) v++;
            if (*v >= '1' && *v <= '5') version = *v - '0';
        }
        break;
    }
    gbAllowAnyCharacter = savedAny;
    fclose(fp);
    return version;
}

} /* extern "C" */

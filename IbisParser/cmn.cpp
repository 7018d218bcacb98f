#include "cmn.h"

#include "errlog.h"
#include "parse.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CMN_MODULE_PATH "IbisParser/cmn"

namespace {

/* Longest text that the record-field setters copy or quote. */
const unsigned kSetStrLimit = 2176;

/* Longest file name a record holds (the field holds one byte more). */
const size_t kFileNameLimit = 1024;

int s_Blank(char c) { return isspace((unsigned char)c) != 0; }

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

int CMN_ArgParsePlus(const char* text, int max, char extra, ARG_LIST* list)
{
    CMN_ASSERT(list != NULL);
    list->iMaxArgs = max;
    list->iCount = 0;
    list->iTotal = 0;
    if (max > 0) {
        if (!CMN_malloc((void**)&list->psArgs, (size_t)max * sizeof(char*))) {
            ERRLOG_BugNew(1908, CMN_MODULE_PATH, __LINE__);
            return 0;
        }
    }
    if (text == NULL)
        return 1;
    /* The scanner only reads through the cursor. */
    char* p = const_cast<char*>(text);
    for (;;) {
        CMN_EatWhitespace(&p);
        if (*p == '\0')
            break;
        const char* start = p;
        if (extra != '\0' && *p == extra) {
            ++p;
        } else {
            while (*p != '\0' && *p != ' ' && *p != '\t' && !(extra != '\0' && *p == extra))
                ++p;
        }
        if (list->iTotal < max) {
            char* token = CMN_StrMakeN(start, (int)(p - start));
            if (token == NULL) {
                ERRLOG_BugNew(1908, CMN_MODULE_PATH, __LINE__);
                return 0;
            }
            list->psArgs[list->iCount++] = token;
        }
        ++list->iTotal;
    }
    return 1;
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
    for (int i = 0; i < list->iCount; ++i)
        if (list->psArgs[i] != NULL)
            free(list->psArgs[i]);
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

} /* extern "C" */

// Typ/min/max ranges: one line of three corner values.
#include "rng.h"

#include <string.h>

#include "cmn.h"
#include "errlog.h"

#define CMN_MODULE_PATH "IbisParser/rng"

static const char* const s_cornerWords[3] = {"typical", "minimum", "maximum"};

void RNG_ReportCount(int found, int expected, int missingCode, int countCode, const char* name)
{
    if (found <= 0 || found > expected) {
        ERRLOG_LineErrorNew(countCode, found, name, expected);
        return;
    }
    // The corners are the last three columns; the ones before them are
    // never reported as missing here.
    for (int i = found - (expected - 3); i < 3; i++)
        if (i >= 0)
            ERRLOG_LineErrorNew(missingCode, s_cornerWords[i], name);
}

int RNG_Split(const char* text, int max, char extra, int bugCode, const char* name,
              ARG_LIST* args)
{
    CMN_ASSERT(args != NULL);
    args->psArgs = NULL;
    if (CMN_ArgParsePlus(text, max, extra, args))
        return 1;
    ERRLOG_LineBugNew(bugCode, name, CMN_MODULE_PATH, __LINE__);
    if (args->psArgs != NULL)
        CMN_ArgFree(args);
    return 0;
}

int RNG_FirstTokenId(const char* text, const RNG_SUB_ENTRY* table)
{
    CMN_ASSERT(table != NULL);
    // Called for every row of a table: the token is compared where it lies.
    size_t n = 0;
    const char* token = text != NULL ? CMN_NextToken(text, '=', &n) : NULL;
    if (token == NULL)
        return 0;
    for (int i = 0; table[i].id != 0; i++)
        if (strncmp(table[i].name, token, n) == 0 && table[i].name[n] == '\0')
            return table[i].id;
    return 0;
}

void RNG_CheckKeywordLine(const char* keywordLine, const char* name, int bugCode,
                          int splitCode, int countCode)
{
    CMN_ASSERT(keywordLine != NULL && name != NULL);
    // The scanner only reads through the cursor.
    char* rest = const_cast<char*>(keywordLine);
    if (!CMN_EatKeyword(&rest)) {
        ERRLOG_LineBugNew(bugCode, CMN_MODULE_PATH, __LINE__);
        return;
    }
    ARG_LIST args;
    args.psArgs = NULL;
    if (!CMN_ArgParse(rest, 0, &args)) {
        ERRLOG_BugNew(splitCode, name, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (args.iTotal > 0)
        ERRLOG_LineErrorNew(countCode, args.iTotal + 1, name, 1);
}

int RNG_SplitAssignment(const char* text, const char* name, int splitCode, int invalidCode,
                        int countCode, ARG_LIST* args)
{
    CMN_ASSERT(text != NULL && name != NULL && args != NULL);
    if (!RNG_Split(text, 3, '=', splitCode, name, args))
        return 0;
    if (args->iTotal == 1 || args->iTotal == 2) {
        ERRLOG_LineErrorNew(invalidCode, name);
        CMN_ArgFree(args);
        return 0;
    }
    if (args->iTotal != 3)
        ERRLOG_LineErrorNew(countCode, args->iTotal, name, 3);
    if (args->iCount < 3 || strcmp(args->psArgs[1], "=") != 0) {
        ERRLOG_LineErrorNew(invalidCode, name);
        CMN_ArgFree(args);
        return 0;
    }
    return 1;
}

int RNG_ReadAssignment(const char* text, const char* name, int splitCode, int invalidCode,
                       int countCode, int badCode, int scaleCode, const char* scaleWhat,
                       const char* scaleName, double* value)
{
    CMN_ASSERT(value != NULL);
    ARG_LIST args;
    if (!RNG_SplitAssignment(text, name, splitCode, invalidCode, countCode, &args))
        return 0;
    int read = CMN_Get_Value(args.psArgs[2], value);
    if (read == 0)
        ERRLOG_LineErrorNew(badCode, name, args.psArgs[2]);
    else if (read == 2 && scaleCode != 0)
        ERRLOG_LineWarnNew(scaleCode, scaleWhat, scaleName, args.psArgs[2]);
    CMN_ArgFree(&args);
    return read != 0;
}

int RNG_ParseRange(const char* text, const char* itemName, TypMinMax** out)
{
    CMN_ASSERT(out != NULL);
    *out = NULL;
    ARG_LIST args;
    if (!RNG_Split(text, 3, '\0', 3900, itemName, &args))
        return 0;
    RNG_ReportCount(args.iTotal, 3, 3901, 3902, itemName);
    TypMinMax* r = NULL;
    if (!CMN_malloc((void**)&r, sizeof(TypMinMax))) {
        ERRLOG_BugNew(3904, CMN_MODULE_PATH, __LINE__);
        CMN_ArgFree(&args);
        return 0;
    }
    *out = r;
    int typState = 0, minState = 0, maxState = 0;
    int ok = CMN_GetColValue(args.iCount > 0 ? args.psArgs[0] : NULL, itemName, "Typical",
                             &r->typ_value, &typState);
    ok &= CMN_GetColValue(args.iCount > 1 ? args.psArgs[1] : NULL, itemName, "Minimum",
                          &r->min_value, &minState);
    ok &= CMN_GetColValue(args.iCount > 2 ? args.psArgs[2] : NULL, itemName, "Maximum",
                          &r->max_value, &maxState);
    r->typ_state = (uint32_t)typState;
    r->min_state = (uint32_t)minState;
    r->max_state = (uint32_t)maxState;
    // A rejected token leaves the value it may have half-read: keep 0.0.
    if (typState != RNG_NUMBER) r->typ_value = 0.0;
    if (minState != RNG_NUMBER) r->min_value = 0.0;
    if (maxState != RNG_NUMBER) r->max_value = 0.0;
    if (typState == RNG_NUMBER && minState == RNG_NUMBER && maxState == RNG_NUMBER &&
        ((r->typ_value < r->min_value && r->typ_value < r->max_value) ||
         (r->typ_value > r->min_value && r->typ_value > r->max_value)))
        ERRLOG_LineWarnNew(3903);
    CMN_ArgFree(&args);
    return ok;
}

void RNG_Free(TypMinMax* r)
{
    if (r != NULL)
        CMN_free(r);
}

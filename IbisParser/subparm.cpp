// Line shapes shared by several keyword modules (see subparm.h).
#include "subparm.h"

#include <string.h>

#include "errlog.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/subparm"

int SUBPARM_Find(const SUBPARM_ENTRY* table, int endId, const char* word)
{
    CMN_ASSERT(table != nullptr && word != nullptr);
    for (const SUBPARM_ENTRY* row = table; row->id != endId; row++)
        if (strcmp(row->name, word) == 0) return row->id;
    return endId;
}

const char* SUBPARM_FindIC(const SUBPARM_ENTRY* table, int endId, const char* word)
{
    CMN_ASSERT(table != nullptr && word != nullptr);
    for (const SUBPARM_ENTRY* row = table; row->id != endId; row++)
        if (CMN_StrSameIC(row->name, word)) return row->name;
    return nullptr;
}

int SUBPARM_Split(const char* text, int max, int eq, ARG_LIST* list)
{
    CMN_ASSERT(text != nullptr && list != nullptr && max > 0);
    list->psArgs = nullptr;
    if (CMN_ArgParsePlus(text, max, eq ? '=' : '\0', list)) return 1;
    SUBPARM_Free(list);
    return 0;
}

void SUBPARM_Free(ARG_LIST* list)
{
    CMN_ASSERT(list != nullptr);
    if (list->psArgs != nullptr) CMN_ArgFree(list);
}

int SUBPARM_LineId(const char* text, const SUBPARM_ENTRY* subs, int unknown)
{
    CMN_ASSERT(text != nullptr && subs != nullptr);
    int id = RNG_FirstTokenId(text, subs);
    if (id == 0) ERRLOG_LineErrorNew(unknown);
    return id;
}

int SUBPARM_KeywordName(const char* line, char* dst, unsigned limit,
                        const SUBPARM_NAME_CODES* codes)
{
    CMN_ASSERT(line != nullptr && dst != nullptr && codes != nullptr && limit > 0);
    char* rest = const_cast<char*>(line);
    if (!CMN_EatKeyword(&rest) && codes->eatLabel != nullptr) {
        ERRLOG_LineBugNew(codes->eatBug, codes->eatLabel, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    ARG_LIST args;
    if (!SUBPARM_Split(rest, 1, 0, &args)) {
        ERRLOG_ErrorNew(codes->splitError);
        return 0;
    }
    int goOn = 0;
    if (args.iTotal == 0) {
        ERRLOG_LineErrorNew(codes->missing);
    } else {
        if (args.iTotal > 1) ERRLOG_LineErrorNew(codes->count, args.iTotal, codes->countLabel, 1);
        const char* name = args.psArgs[0];
        goOn = 1;
        if (strlen(name) > limit) {
            ERRLOG_LineErrorNew(codes->tooLong, (int)limit);
            if (codes->stopWhenCut) goOn = 0;
        }
        CMN_strncpy(dst, name, limit);
        if (goOn && CMN_ReservedWord(dst) == 0) ERRLOG_LineErrorNew(codes->reserved, dst);
    }
    SUBPARM_Free(&args);
    return goOn;
}

// Splits a "<name> <value>" line into its two tokens with the count
// messages; the value, or null when the line has not exactly two tokens.
static char* s_Value(const char* text, const char* subName, const SUBPARM_VALUE_CODES* codes,
                     ARG_LIST* args)
{
    if (!SUBPARM_Split(text, 2, 1, args)) {
        ERRLOG_LineBugNew(codes->splitBug, subName, CMN_MODULE_PATH, __LINE__);
        return nullptr;
    }
    if (args->iTotal < 2) {
        ERRLOG_LineErrorNew(codes->missing, subName);
        return nullptr;
    }
    if (args->iTotal > 2) {
        if (strcmp(args->psArgs[1], "=") == 0)
            ERRLOG_LineErrorNew(codes->invalidLine, subName);
        else
            ERRLOG_LineErrorNew(codes->count, args->iTotal, subName, 2);
        return nullptr;
    }
    return args->psArgs[1];
}

void SUBPARM_TypeWord(const char* text, const char* subName, const SUBPARM_ENTRY* table,
                      const SUBPARM_VALUE_CODES* codes, int* type)
{
    CMN_ASSERT(text != nullptr && subName != nullptr && table != nullptr && codes != nullptr &&
               type != nullptr);
    *type = 1;
    ARG_LIST args;
    const char* word = s_Value(text, subName, codes, &args);
    if (word != nullptr) {
        int id = SUBPARM_Find(table, 1, word);
        if (id != 1) {
            *type = id;
        } else {
            const char* hint = SUBPARM_FindIC(table, 1, word);
            if (hint != nullptr)
                ERRLOG_LineErrorNew(codes->tryWord, subName, word, hint);
            else
                ERRLOG_LineErrorNew(codes->invalid, subName, word);
        }
    }
    SUBPARM_Free(&args);
}

void SUBPARM_NameValue(const char* text, const char* subName, char* dst, unsigned limit,
                       const SUBPARM_VALUE_CODES* codes)
{
    CMN_ASSERT(text != nullptr && subName != nullptr && dst != nullptr && codes != nullptr &&
               limit > 0);
    ARG_LIST args;
    const char* value = s_Value(text, subName, codes, &args);
    if (value != nullptr) {
        if (strlen(value) > limit)
            ERRLOG_LineErrorNew(codes->tooLong, subName, (int)limit);
        else if (CMN_ReservedWord(value) == 0)
            ERRLOG_LineErrorNew(codes->reserved, subName, value);
        CMN_strncpy(dst, value, limit);
    }
    SUBPARM_Free(&args);
}

void SUBPARM_Range(const char* text, const char* subName, TypMinMax** slot, int naCode)
{
    CMN_ASSERT(text != nullptr && subName != nullptr && slot != nullptr);
    // The first word ends at a blank, a tab or '='.
    const char* p = text;
    while (*p == ' ' || *p == '\t') p++;
    while (*p != '\0' && *p != ' ' && *p != '\t' && *p != '=') p++;
    while (*p == ' ' || *p == '\t') p++;
    RNG_ParseRange(p, subName, slot);
    if (*slot != nullptr && (*slot)->typ_state == RNG_NA) ERRLOG_LineErrorNew(naCode);
}

// R/L/C sections of package pins and board paths.
#include "sect.h"

#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"

#define CMN_MODULE_PATH "IbisParser/sect"

enum { TOK_ERROR = 0, TOK_LEN = 1, TOK_R = 2, TOK_C = 3, TOK_L = 4, TOK_SLASH = 5, TOK_END = 6 };
enum { V_LEN, V_L, V_R, V_C, V_COUNT };

// Codes of the duplicate, missing-Len and negative messages of R, L and C.
typedef struct {
    int slot, noLen, duplicate, negative;
} SECT_RULE;

static const SECT_RULE s_rules[] = {
    {V_R, 3002, 3003, 3004},
    {V_L, 3005, 3006, 3007},
    {V_C, 3008, 3009, 3010},
};

static void s_Value(int kind, double v, double* values, int* given)
{
    if (kind == TOK_LEN) {
        if (given[V_LEN]) ERRLOG_LineErrorNew(3000);
        given[V_LEN] = 1;
        values[V_LEN] = v;
        if (v < 0) ERRLOG_LineErrorNew(3001);
        return;
    }
    const SECT_RULE& r = s_rules[kind == TOK_R ? 0 : kind == TOK_L ? 1 : 2];
    if (!given[V_LEN]) ERRLOG_LineErrorNew(r.noLen);
    if (given[r.slot]) ERRLOG_LineErrorNew(r.duplicate);
    given[r.slot] = 1;
    values[r.slot] = v;
    if (v < 0) ERRLOG_LineErrorNew(r.negative);
}

int SECT_ParseSection(const char* text, char** next, RlcSection** section)
{
    CMN_ASSERT(text != nullptr && next != nullptr && section != nullptr);
    *section = nullptr;
    double values[V_COUNT] = {0, 0, 0, 0};
    int given[V_COUNT] = {0, 0, 0, 0};
    int any = 0;
    const char* p = text;
    for (;;) {
        // A bad number leaves the value as it was set here.
        double v = 0;
        char* after = nullptr;
        int kind = CMN_gettok(p, &v, &after);
        *next = after;
        p = after;
        if (kind == TOK_END) {
            if (!any) return 1;
            ERRLOG_LineErrorNew(3013);
            return 0;
        }
        if (kind == TOK_SLASH) break;
        if (kind == TOK_ERROR) continue;
        any = 1;
        s_Value(kind, v, values, given);
    }
    if (!given[V_LEN] && !given[V_R] && !given[V_L] && !given[V_C]) {
        ERRLOG_LineErrorNew(3011);
    } else if (given[V_LEN] && values[V_LEN] != 0 && !(given[V_L] && given[V_C])) {
        ERRLOG_LineErrorNew(3012);
    }
    RlcSection* s = (RlcSection*)calloc(1, sizeof(RlcSection));
    if (s == nullptr) {
        ERRLOG_LineBugNew(3014, CMN_MODULE_PATH, __LINE__);
        return 1;
    }
    double** slots[V_COUNT] = {&s->Len, &s->L, &s->R, &s->C};
    for (int i = 0; i < V_COUNT; i++) {
        if (!given[i]) continue;
        s->store[i] = values[i];
        *slots[i] = &s->store[i];
    }
    *section = s;
    return 1;
}

void SECT_Free(RlcSection* s) { free(s); }

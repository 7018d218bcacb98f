// [Ramp]: edge rates per corner as dV/dt ratios, and R_load.
#include "ramp.h"

#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "parse.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/ramp"

static unsigned long gRampBeginLine;

static const RNG_SUB_ENTRY ramp_subs[] = {
    {"dV/dt_r", 1}, {"dV/dt_f", 2}, {"R_load", 3}, {"NOT_SUB", 0},
};

int RAMP_New(const char* keywordLine, RampRecord** slot)
{
    CMN_ASSERT(keywordLine != NULL && slot != NULL);
    if (*slot != NULL) {
        ERRLOG_LineErrorNew(1300);
        // Cleared first, so a failed allocation leaves no freed record behind.
        RampRecord* old = *slot;
        *slot = NULL;
        RAMP_Free(old);
    }
    RampRecord* ramp = NULL;
    if (!CMN_malloc((void**)&ramp, sizeof(RampRecord))) {
        ERRLOG_BugNew(1301, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    *slot = ramp;
    RNG_CheckKeywordLine(keywordLine, "Ramp", 1302, 1303, 1304);
    gRampBeginLine = PARSE_GetLineNum();
    return 1;
}

// Reads one corner token "dV/dt" (or "NA") into r; reports what is wrong.
static void s_ReadRatio(const char* token, const char* subName, const char* column, RampRatio* r)
{
    ARG_LIST parts;
    if (!RNG_Split(token, 3, '/', 1303, subName, &parts))
        return;
    if (parts.iTotal == 1 && CMN_StrSameIC(parts.psArgs[0], "NA")) {
        r->state = RNG_NA;
    } else if (parts.iTotal == 3 && strcmp(parts.psArgs[1], "/") == 0) {
        double dV = 0.0, dt = 0.0;
        int okV = CMN_Get_Value(parts.psArgs[0], &dV);
        int okT = okV != 0 ? CMN_Get_Value(parts.psArgs[2], &dt) : 0;
        if (okV == 0 || okT == 0) {
            ERRLOG_LineErrorNew(1312, subName, column, token);
        } else {
            if (okV == 2) ERRLOG_LineWarnNew(1311, column, subName, parts.psArgs[0]);
            if (okT == 2) ERRLOG_LineWarnNew(1311, column, subName, parts.psArgs[2]);
            r->dV = dV;
            r->dt = dt;
            r->state = RNG_NUMBER;
        }
    } else {
        ERRLOG_LineErrorNew(1312, subName, column, token);
    }
    CMN_ArgFree(&parts);
}

static void s_RatioLine(const char* text, const char* subName, RampRatioSet** slot,
                        const char* modelName)
{
    if (*slot != NULL) {
        ERRLOG_LineErrorNew(1307, subName, modelName);
        return;
    }
    if (!CMN_malloc((void**)slot, sizeof(RampRatioSet))) {
        ERRLOG_BugNew(1301, CMN_MODULE_PATH, __LINE__);
        return;
    }
    RampRatioSet* set = *slot;
    // The scanner only reads through the cursor.
    char* rest = const_cast<char*>(text);
    CMN_EatWhitespace(&rest);
    CMN_EatNonWhitespace(&rest);
    ARG_LIST args;
    if (!RNG_Split(rest, 3, '\0', 1303, subName, &args))
        return;
    RNG_ReportCount(args.iTotal, 3, 1308, 1304, subName);
    static const char* const columns[3] = {"Typical", "Minimum", "Maximum"};
    RampRatio* corners[3] = {&set->typ_ratio, &set->min_ratio, &set->max_ratio};
    for (int c = 0; c < 3 && c < args.iCount; c++)
        s_ReadRatio(args.psArgs[c], subName, columns[c], corners[c]);
    CMN_ArgFree(&args);
    // Only a read ratio is checked at typ; a missing or invalid min or max
    // (dV and dt 0) draws both messages.
    if (set->typ_ratio.state == RNG_NA)
        ERRLOG_LineErrorNew(1309, subName);
    for (int c = 0; c < 3; c++) {
        const RampRatio* r = corners[c];
        if (r->state == RNG_NA || (c == 0 && r->state != RNG_NUMBER))
            continue;
        if (!(r->dV > 0))
            ERRLOG_LineErrorNew(1310, "dV");
        if (!(r->dt > 0))
            ERRLOG_LineErrorNew(1310, "dT");
    }
}

static void s_RloadLine(const char* text, RampRecord* ramp, const char* modelName)
{
    if (ramp->R_load_state != 0) {
        ERRLOG_LineErrorNew(1307, "R_load", modelName);
        return;
    }
    double value = 0.0;
    if (RNG_ReadAssignment(text, "R_load", 1303, 1313, 1304, 1314, 1311, "Ramp", "R_load",
                           &value)) {
        ramp->R_load_value = value;
        ramp->R_load_state = 1;
    }
}

void RAMP_ReceiveLine(const char* text, RampRecord* ramp, const char* modelName)
{
    CMN_ASSERT(text != NULL && modelName != NULL);
    // An owner whose RAMP_New failed holds no record: drop the line.
    if (ramp == NULL)
        return;
    int id = RNG_FirstTokenId(text, ramp_subs);
    switch (id) {
    case 1: s_RatioLine(text, "dV/dt_r", &ramp->dVdt_r, modelName); break;
    case 2: s_RatioLine(text, "dV/dt_f", &ramp->dVdt_f, modelName); break;
    case 3: s_RloadLine(text, ramp, modelName); break;
    default: ERRLOG_LineErrorNew(1305); break;
    }
}

void RAMP_Fini(const RampRecord* ramp)
{
    // An owner whose RAMP_New failed holds no record: nothing to check.
    if (ramp == NULL)
        return;
    if (ramp->dVdt_r == NULL)
        ERRLOG_ErrorNew(1306, "dV/dt_r", (int)gRampBeginLine);
    if (ramp->dVdt_f == NULL)
        ERRLOG_ErrorNew(1306, "dV/dt_f", (int)gRampBeginLine);
}

void RAMP_Free(RampRecord* ramp)
{
    if (ramp == NULL)
        return;
    if (ramp->dVdt_r != NULL) CMN_free(ramp->dVdt_r);
    if (ramp->dVdt_f != NULL) CMN_free(ramp->dVdt_f);
    CMN_free(ramp);
}

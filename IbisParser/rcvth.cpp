// [Receiver Thresholds]: single threshold values and the reference supply
// of a model, and the check of the thresholds a receiver needs.
#include "rcvth.h"

#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "parse.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/rcvth"

static unsigned long gRcvthBeginLine;

static const RNG_SUB_ENTRY rcvth_subs[] = {
    {"Vth", 1},        {"Vth_min", 2},    {"Vth_max", 3},      {"Vinh_ac", 4},
    {"Vinh_dc", 5},    {"Vinl_ac", 6},    {"Vinl_dc", 7},      {"Threshold_sensitivity", 8},
    {"Reference_supply", 9}, {"Vcross_low", 10}, {"Vcross_high", 11}, {"Vdiff_ac", 12},
    {"Vdiff_dc", 13},  {"Tslew_ac", 14},  {"Tdiffslew_ac", 15}, {"NOT_RCVTH", 0},
};

static const char* const s_supplies[] = {
    "Power_clamp_ref", "Gnd_clamp_ref", "Pullup_ref", "Pulldown_ref", "Ext_ref",
};

enum { ID_REFERENCE_SUPPLY = 9 };

// The numeric field of id (every id but 9).
static double** s_Field(ReceiverThresholdsRecord* r, int id)
{
    switch (id) {
    case 1: return &r->Vth;
    case 2: return &r->Vth_min;
    case 3: return &r->Vth_max;
    case 4: return &r->Vinh_ac;
    case 5: return &r->Vinh_dc;
    case 6: return &r->Vinl_ac;
    case 7: return &r->Vinl_dc;
    case 8: return &r->Threshold_sensitivity;
    case 10: return &r->Vcross_low;
    case 11: return &r->Vcross_high;
    case 12: return &r->Vdiff_ac;
    case 13: return &r->Vdiff_dc;
    case 14: return &r->Tslew_ac;
    default: return &r->Tdiffslew_ac;
    }
}

int RCVTH_New(const char* keywordLine, ReceiverThresholdsRecord** slot)
{
    CMN_ASSERT(keywordLine != NULL && slot != NULL);
    if (*slot != NULL) {
        ERRLOG_LineErrorNew(3200);
        // Cleared first, so a failed allocation leaves no freed record behind.
        ReceiverThresholdsRecord* old = *slot;
        *slot = NULL;
        RCVTH_Free(old);
    }
    ReceiverThresholdsRecord* r = NULL;
    if (!CMN_malloc((void**)&r, sizeof(ReceiverThresholdsRecord))) {
        ERRLOG_BugNew(3201, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    *slot = r;
    RNG_CheckKeywordLine(keywordLine, "Receiver Threshold", 3202, 3203, 3204);
    gRcvthBeginLine = PARSE_GetLineNum();
    return 1;
}

static void s_NumericLine(const char* text, ReceiverThresholdsRecord* r, const char* name, int id)
{
    double** field = s_Field(r, id);
    if (*field != NULL) {
        ERRLOG_LineErrorNew(3231, name);
        return;
    }
    // The value exists from here on: a rejected line still counts as given,
    // holding 0.0.
    if (!CMN_malloc((void**)field, sizeof(double))) {
        ERRLOG_BugNew(3201, CMN_MODULE_PATH, __LINE__);
        return;
    }
    RNG_ReadAssignment(text, name, 3203, 3232, 3204, 3233, 0, NULL, NULL, *field);
}

static void s_SupplyLine(const char* text, ReceiverThresholdsRecord* r, const char* name)
{
    if (r->Reference_supply != NULL) {
        ERRLOG_LineErrorNew(3231, name);
        return;
    }
    ARG_LIST args;
    if (!RNG_Split(text, 3, '=', 3203, name, &args))
        return;
    int stop = 0;
    if (args.iTotal == 1) {
        ERRLOG_LineErrorNew(3232, name);
        stop = 1;
    } else if (args.iTotal == 3) {
        if (strcmp(args.psArgs[1], "=") == 0)
            ERRLOG_LineErrorNew(3232, name);
        else
            ERRLOG_LineErrorNew(3204, 3, name, 2);
        stop = 1;
    } else if (args.iTotal != 2) {
        ERRLOG_LineErrorNew(3204, args.iTotal, name, 2);
    }
    if (!stop && args.iCount >= 2) {
        const char* supply = args.psArgs[1];
        int known = 0;
        for (const char* s : s_supplies)
            if (strcmp(s, supply) == 0)
                known = 1;
        if (!known) {
            ERRLOG_LineErrorNew(3234, supply);
        } else {
            r->Reference_supply = CMN_StrMake(supply);
            if (r->Reference_supply == NULL)
                ERRLOG_BugNew(3201, CMN_MODULE_PATH, __LINE__);
        }
    }
    CMN_ArgFree(&args);
}

void RCVTH_ReceiveLine(const char* text, ReceiverThresholdsRecord* r, const char* modelName)
{
    CMN_ASSERT(text != NULL && modelName != NULL);
    // An owner whose RCVTH_New failed holds no record: drop the line.
    if (r == NULL)
        return;
    int id = RNG_FirstTokenId(text, rcvth_subs);
    if (id == 0)
        ERRLOG_LineErrorNew(3230);
    else if (id == ID_REFERENCE_SUPPLY)
        s_SupplyLine(text, r, rcvth_subs[id - 1].name);
    else
        s_NumericLine(text, r, rcvth_subs[id - 1].name, id);
}

void RCVTH_FiniCore(const ReceiverThresholdsRecord* r, const char* modelName)
{
    CMN_ASSERT(modelName != NULL);
    if (r != NULL && r->Threshold_sensitivity != NULL && r->Reference_supply == NULL)
        ERRLOG_ErrorNew(3205, modelName);
}

void RCVTH_CheckOne(const ReceiverThresholdsRecord* r, const char* modelName,
                    const char* diffPinName)
{
    CMN_ASSERT(modelName != NULL);
    if (r == NULL)
        return;
    if (diffPinName != NULL) {
        const double* const needed[5] = {r->Vcross_low, r->Vcross_high, r->Vdiff_ac,
                                         r->Vdiff_dc, r->Tdiffslew_ac};
        for (int i = 0; i < 5; i++)
            if (needed[i] == NULL)
                ERRLOG_WarnNew(3206 + i, modelName, diffPinName);
    } else {
        const double* const needed[6] = {r->Vth,     r->Vinh_ac, r->Vinl_ac,
                                         r->Vinh_dc, r->Vinl_dc, r->Tslew_ac};
        for (int i = 0; i < 6; i++)
            if (needed[i] == NULL)
                ERRLOG_WarnNew(3219 + i, modelName);
    }
}

void RCVTH_Free(ReceiverThresholdsRecord* r)
{
    if (r == NULL)
        return;
    for (int id = 1; id <= 15; id++) {
        if (id == ID_REFERENCE_SUPPLY)
            continue;
        double** f = s_Field(r, id);
        if (*f != NULL)
            CMN_free(*f);
    }
    if (r->Reference_supply != NULL)
        CMN_free(r->Reference_supply);
    CMN_free(r);
}

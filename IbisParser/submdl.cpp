// [Submodel] keyword group: the submodel's name and type, its tables, the
// rules of its type and its trigger levels against its waveforms.
#include "submdl.h"

#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "nameidx.h"
#include "parse.h"
#include "subparm.h"

#define CMN_MODULE_PATH "IbisParser/submdl"

enum { SUB_TYPE_DYNAMIC_CLAMP = 2, SUB_TYPE_BUS_HOLD = 3, SUB_TYPE_FALL_BACK = 4 };

static const SUBPARM_ENTRY submodel_subs[] = {{"Submodel_type", 1}, {"NOT_SUB", 0}};
static const SUBPARM_ENTRY subtypes[] = {
    {"Dynamic_clamp", SUB_TYPE_DYNAMIC_CLAMP}, {"Bus_hold", SUB_TYPE_BUS_HOLD}, {"No Type", 1},
};
static const SUBPARM_ENTRY subtypes_ver4[] = {
    {"Dynamic_clamp", SUB_TYPE_DYNAMIC_CLAMP}, {"Bus_hold", SUB_TYPE_BUS_HOLD},
    {"Fall_back", SUB_TYPE_FALL_BACK}, {"No Type", 1},
};

static const SUBPARM_NAME_CODES s_nameCodes = {
    "Sub Model", "SubModel", 2408, 2409, 2410, 2411, 2412, 2413, 1,
};

static const SUBPARM_VALUE_CODES s_valueCodes = {
    2415, 2418, 2419, 2420, 2421, 2422, 0, 0,
};

static SubmodelRecord* gCurrentSmodel;
static int s_eKeyword = KW_NOT_KEY;
// The record of the keyword now read could be made: its lines and end check
// go to the table's module only then.
static int s_bTableMade;

int SUBMDL_New(SubmodelRecord** out)
{
    CMN_ASSERT(out != nullptr);
    if (!CMN_malloc((void**)out, sizeof(SubmodelRecord))) {
        ERRLOG_BugNew(2400, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    return 1;
}

void SUBMDL_Init(void)
{
    gCurrentSmodel = nullptr;
    s_bTableMade = 0;
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(2401);
        return;
    }
    SubmodelRecord* s = nullptr;
    if (!SUBMDL_New(&s)) return;
    IBIS_AddSubMdl(ibis, s);
    gCurrentSmodel = s;
}

void SUBMDL_Reset(void)
{
    gCurrentSmodel = nullptr;
    s_eKeyword = KW_NOT_KEY;
    s_bTableMade = 0;
}

void SUBMDL_AddLink(SubmodelRecord* s, SubmodelRecord* next)
{
    CMN_ASSERT(s != nullptr);
    s->next = next;
}

static const char* s_NameOf(const SubmodelRecord* s) { return s->name; }

SubmodelRecord* SUBMDL_NameExists(const SubmodelRecord* list, const char* name)
{
    CMN_ASSERT(name != nullptr);
    return IBIS_FindInList(const_cast<SubmodelRecord*>(list), &IBIS::submodels,
                           &IBIS_Names::submodels, s_NameOf, name);
}

// The curve keywords 101-104: slot and name.
static CurveRecord** s_Curve(SubmodelRecord* s, int code, const char** name)
{
    switch (code) {
    case KW_SUB_PULLDOWN: *name = "Pulldown"; return &s->Pulldown;
    case KW_SUB_PULLUP: *name = "Pullup"; return &s->Pullup;
    case KW_SUB_GND_CLAMP: *name = "GND Clamp"; return &s->GND_Clamp;
    default: *name = "POWER Clamp"; return &s->POWER_Clamp;
    }
}

static int s_IsCurve(int code) { return code >= KW_SUB_PULLDOWN && code <= KW_SUB_POWER_CLAMP; }

static void s_KeywordLine(SubmodelRecord* s, int code, const char* text)
{
    s_eKeyword = code;
    s_bTableMade = 0;
    switch (code) {
    case KW_SUBMODEL:
        if (SUBPARM_KeywordName(text, s->name, 20, &s_nameCodes) &&
            IBIS_NamedBefore(s, &IBIS::submodels, &IBIS_Names::submodels, s_NameOf, s->name))
            ERRLOG_LineErrorNew(2414, s->name);
        break;
    case KW_SUBMODEL_SPEC:
        if (s->Pullup || s->Pulldown || s->POWER_Clamp || s->GND_Clamp || s->GND_Pulse_Table ||
            s->POWER_Pulse_Table || s->Ramp || s->Rising_Waveform || s->Falling_Waveform)
            ERRLOG_LineErrorNew(2406);
        s_bTableMade = SMSPEC_New(text, &s->Submodel_Spec);
        break;
    case KW_GND_PULSE_TABLE:
    case KW_POWER_PULSE_TABLE: {
        int gnd = code == KW_GND_PULSE_TABLE;
        WaveformRecord** slot = gnd ? &s->GND_Pulse_Table : &s->POWER_Pulse_Table;
        if (*slot != nullptr) {
            ERRLOG_LineErrorNew(gnd ? 2404 : 2405);
            // The slot is emptied first: the new table goes into an empty list.
            WaveformRecord* old = *slot;
            *slot = nullptr;
            WVFRM_Free(old);
        }
        s_bTableMade = WVFRM_New(text, slot, gnd ? "GND Pulse" : "POWER Pulse");
        break;
    }
    case KW_SUB_RAMP:
        s_bTableMade = RAMP_New(text, &s->Ramp);
        break;
    case KW_SUB_RISING_WAVEFORM:
        s_bTableMade = WVFRM_New(text, &s->Rising_Waveform, "Rising Waveform");
        break;
    case KW_SUB_FALLING_WAVEFORM:
        s_bTableMade = WVFRM_New(text, &s->Falling_Waveform, "Falling Waveform");
        break;
    default: {
        const char* name = nullptr;
        CurveRecord** slot = s_Curve(s, code, &name);
        s_bTableMade = CRV_New(text, name, slot);
        break;
    }
    }
}

static void s_TypeLine(SubmodelRecord* s, const char* text)
{
    if (SUBPARM_LineId(text, submodel_subs, 2416) == 0) return;
    if (s->Submodel_type != 0)
        ERRLOG_LineErrorNew(2417, "Submodel_type", s->name);
    else
        SUBPARM_TypeWord(text, "Submodel_type", geFileVersion <= 3 ? subtypes : subtypes_ver4,
                         &s_valueCodes, &s->Submodel_type);
}

void SUBMDL_ReceiveLine(int lineKind, int keywordCode, const char* text)
{
    CMN_ASSERT(text != nullptr);
    SubmodelRecord* s = gCurrentSmodel;
    if (s == nullptr) {
        ERRLOG_LineErrorNew(lineKind == PARSE_LINE_KEYWORD ? 2402 : 2403);
        return;
    }
    if (lineKind == PARSE_LINE_KEYWORD) {
        s_KeywordLine(s, keywordCode, text);
        return;
    }
    if (s_eKeyword == KW_SUBMODEL) {
        s_TypeLine(s, text);
        return;
    }
    if (!s_bTableMade) return;
    switch (s_eKeyword) {
    case KW_SUBMODEL_SPEC: SMSPEC_ReceiveLine(text, s->Submodel_Spec, s->name); break;
    case KW_GND_PULSE_TABLE: WVFRM_ReceiveLine(text, "GND Pulse Table"); break;
    case KW_POWER_PULSE_TABLE: WVFRM_ReceiveLine(text, "POWER Pulse Table"); break;
    case KW_SUB_RAMP: RAMP_ReceiveLine(text, s->Ramp, s->name); break;
    case KW_SUB_RISING_WAVEFORM: WVFRM_ReceiveLine(text, "Rising Waveform"); break;
    case KW_SUB_FALLING_WAVEFORM: WVFRM_ReceiveLine(text, "Falling Waveform"); break;
    default: {
        const char* name = nullptr;
        CurveRecord** slot = s_Curve(s, s_eKeyword, &name);
        CRV_ReceiveLine(text, *slot, name);
        break;
    }
    }
}

// End of the keyword now read.
static void s_EndKeyword(const SubmodelRecord* s)
{
    if (s_eKeyword == KW_SUBMODEL) {
        if (s->Submodel_type == 0) ERRLOG_ErrorNew(2423, s->name, "Submodel_type");
        return;
    }
    if (!s_bTableMade) return;
    switch (s_eKeyword) {
    case KW_SUBMODEL_SPEC: SMSPEC_Fini(s); break;
    case KW_GND_PULSE_TABLE: WVFRM_Fini("GND Pulse Table", WVFRM_KIND_PULSE); break;
    case KW_POWER_PULSE_TABLE: WVFRM_Fini("POWER Pulse Table", WVFRM_KIND_PULSE); break;
    case KW_SUB_RAMP: RAMP_Fini(s->Ramp); break;
    case KW_SUB_RISING_WAVEFORM: WVFRM_Fini("Rising", WVFRM_KIND_WAVEFORM); break;
    case KW_SUB_FALLING_WAVEFORM: WVFRM_Fini("Falling", WVFRM_KIND_WAVEFORM); break;
    default:
        if (s_IsCurve(s_eKeyword)) {
            const char* name = nullptr;
            CurveRecord** slot = s_Curve(const_cast<SubmodelRecord*>(s), s_eKeyword, &name);
            // The model module's codes of the same tables, 40-43.
            CRV_Fini(s->name, 3, s_eKeyword - KW_SUB_PULLDOWN + KW_PULLDOWN, *slot, name,
                     "Submodel");
        }
        break;
    }
}

static void s_TypeRules(const SubmodelRecord* s)
{
    const SubmodelSpecRecord* spec = s->Submodel_Spec;
    const char* n = s->name;
    int trigR = spec != nullptr && spec->V_trigger_r != nullptr;
    int trigF = spec != nullptr && spec->V_trigger_f != nullptr;
    int offDelay = spec != nullptr && spec->Off_delay != nullptr;
    int pu = s->Pullup != nullptr, pd = s->Pulldown != nullptr;
    switch (s->Submodel_type) {
    case SUB_TYPE_BUS_HOLD:
        if (spec == nullptr) {
            ERRLOG_ErrorNew(2424, n);
        } else {
            if (!trigR) ERRLOG_ErrorNew(2425, n);
            if (!trigF) ERRLOG_ErrorNew(2426, n);
            if (offDelay && pu && pd) ERRLOG_ErrorNew(2427, n);
        }
        if (s->Ramp == nullptr) ERRLOG_ErrorNew(2428, n);
        if (!pu && !pd) ERRLOG_ErrorNew(2429, n);
        break;
    case SUB_TYPE_DYNAMIC_CLAMP:
        if (s->GND_Pulse_Table != nullptr && !trigF) ERRLOG_ErrorNew(2430, n);
        if (s->POWER_Pulse_Table != nullptr && !trigR) ERRLOG_ErrorNew(2431, n);
        if (!s->GND_Pulse_Table && !s->POWER_Pulse_Table && !s->GND_Clamp && !s->POWER_Clamp)
            ERRLOG_ErrorNew(2432, n);
        if (offDelay) ERRLOG_ErrorNew(2433, n);
        break;
    case SUB_TYPE_FALL_BACK:
        if (spec == nullptr) {
            ERRLOG_ErrorNew(2434, n);
        } else {
            if (!trigR) ERRLOG_ErrorNew(2435, n);
            if (!trigF) ERRLOG_ErrorNew(2436, n);
        }
        if (!pu && !pd) ERRLOG_ErrorNew(2437, n);
        if (pu && pd) ERRLOG_ErrorNew(2438, n);
        if (s->Ramp == nullptr) ERRLOG_ErrorNew(2439, n);
        if (offDelay) ERRLOG_ErrorNew(2440, n);
        break;
    default:
        break;
    }
}

// One corner of a trigger level and of a table row: the value to compare,
// or 0 when the corner is not compared.  Typ needs numbers on both sides;
// Min and Max need a number or NA on each side and a number on one, an NA
// corner standing for its typ.
static int s_Corner(int corner, const TypMinMax* trig, const RangePoint* row, double* t, double* r)
{
    if (corner == 0) {
        *t = trig->typ_value;
        *r = row->typ_value;
        return trig->typ_state == RNG_NUMBER && row->typ_state == RNG_NUMBER;
    }
    uint32_t ts = corner == 1 ? trig->min_state : trig->max_state;
    uint32_t rs = corner == 1 ? row->min_state : row->max_state;
    if (ts == RNG_ABSENT || rs == RNG_ABSENT || (ts == RNG_NA && rs == RNG_NA)) return 0;
    *t = ts == RNG_NA ? trig->typ_value : corner == 1 ? trig->min_value : trig->max_value;
    *r = rs == RNG_NA ? row->typ_value : corner == 1 ? row->min_value : row->max_value;
    return 1;
}

static const char* const s_cornerWords[] = {"Typ", "Min", "Max"};

// The trigger level against the first and last rows of each waveform of the
// list: rising (a start above the trigger, a trigger above the end) or
// falling (the other way round).
static void s_TriggerAgainst(const SubmodelRecord* s, const TypMinMax* trig,
                             const WaveformRecord* list, int rising)
{
    for (const WaveformRecord* w = list; w != nullptr; w = w->next) {
        const RangePoint* first = w->table;
        if (first == nullptr) continue;
        const RangePoint* last = first;
        while (last->next != nullptr) last = last->next;
        double t, r;
        if (first->typ_state == RNG_NUMBER) {
            for (int c = 0; c < 3; c++) {
                if (!s_Corner(c, trig, first, &t, &r)) continue;
                if (rising && r > t) ERRLOG_WarnNew(2441, s->name, s_cornerWords[c]);
                if (!rising && t > r) ERRLOG_WarnNew(2443, s->name, s_cornerWords[c]);
            }
        }
        if (last->typ_state == RNG_NUMBER) {
            for (int c = 0; c < 3; c++) {
                if (!s_Corner(c, trig, last, &t, &r)) continue;
                if (rising && t > r) ERRLOG_WarnNew(2442, s->name, s_cornerWords[c]);
                if (!rising && r > t) ERRLOG_WarnNew(2444, s->name, s_cornerWords[c]);
            }
        }
    }
}

void SUBMDL_Fini(int nextKeywordCode)
{
    SubmodelRecord* s = gCurrentSmodel;
    if (s == nullptr) return;
    s_EndKeyword(s);
    s_bTableMade = 0;
    if (nextKeywordCode >= KW_SUBMODEL_SPEC && nextKeywordCode <= KW_SUB_FALLING_WAVEFORM) return;
    s_TypeRules(s);
    const SubmodelSpecRecord* spec = s->Submodel_Spec;
    if (spec != nullptr && spec->V_trigger_r != nullptr &&
        spec->V_trigger_r->typ_state == RNG_NUMBER)
        s_TriggerAgainst(s, spec->V_trigger_r, s->Rising_Waveform, 1);
    if (spec != nullptr && spec->V_trigger_f != nullptr &&
        spec->V_trigger_f->typ_state == RNG_NUMBER)
        s_TriggerAgainst(s, spec->V_trigger_f, s->Falling_Waveform, 0);
    gCurrentSmodel = nullptr;
    s_eKeyword = KW_NOT_KEY;
}

void SUBMDL_Free(SubmodelRecord* s)
{
    if (s == nullptr) return;
    CRV_Free(s->Pulldown);
    CRV_Free(s->Pullup);
    CRV_Free(s->GND_Clamp);
    CRV_Free(s->POWER_Clamp);
    RAMP_Free(s->Ramp);
    WVFRM_Free(s->Rising_Waveform);
    WVFRM_Free(s->Falling_Waveform);
    WVFRM_Free(s->GND_Pulse_Table);
    WVFRM_Free(s->POWER_Pulse_Table);
    SMSPEC_Free(s->Submodel_Spec);
    free(s);
}

void SUBMDL_FreeList(SubmodelRecord* list)
{
    while (list != nullptr) {
        SubmodelRecord* next = list->next;
        SUBMDL_Free(list);
        list = next;
    }
}

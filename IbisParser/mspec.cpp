// [Model Spec]: sub-parameter lines of typ/min/max values, and the
// consistency checks of the whole set when the keyword ends.
#include "mspec.h"

#include <stdio.h>
#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"
#include "mdl.h"
#include "parse.h"
#include "subparm.h"

#define CMN_MODULE_PATH "IbisParser/mspec"

unsigned long gMspecBeginLine;

// Ids 1-15 are read from IBIS 3 on, 16-28 from 4 on, 29-32 from 5 on.
static const RNG_SUB_ENTRY mspec_subs_ver5[] = {
    {"Vinh", 1}, {"Vinl", 2}, {"Vinh+", 3}, {"Vinh-", 4}, {"Vinl+", 5}, {"Vinl-", 6},
    {"S_overshoot_high", 7}, {"S_overshoot_low", 8}, {"D_overshoot_high", 9},
    {"D_overshoot_low", 10}, {"D_overshoot_time", 11}, {"Pulse_high", 12},
    {"Pulse_low", 13}, {"Pulse_time", 14}, {"Vmeas", 15}, {"Vref", 16}, {"Rref", 18},
    {"Cref", 17}, {"Rref_diff", 19}, {"Cref_diff", 20}, {"Vref_rising", 21},
    {"Vref_falling", 22}, {"Cref_rising", 23}, {"Cref_falling", 24}, {"Rref_rising", 25},
    {"Rref_falling", 26}, {"Vmeas_rising", 27}, {"Vmeas_falling", 28},
    {"D_overshoot_amp_h", 29}, {"D_overshoot_amp_l", 30}, {"D_overshoot_area_h", 31},
    {"D_overshoot_area_l", 32}, {"NOT_MSPEC", 0},
};

// Item names that the range messages use.
static const char* s_RangeName(int id)
{
    switch (id) {
    case 12: return "PulseHigh";
    case 13: return "PulseLow";
    case 14: return "PulseTime";
    default: break;
    }
    for (const RNG_SUB_ENTRY* row = mspec_subs_ver5; row->id != 0; row++)
        if (row->id == id) return row->name;
    return "";
}

// Each sub-parameter fills the field of its own name.
static TypMinMax** s_Field(ModelSpecRecord* s, int id)
{
    switch (id) {
    case 1: return &s->Vinh;
    case 2: return &s->Vinl;
    case 3: return &s->Vinh_plus;
    case 4: return &s->Vinh_minus;
    case 5: return &s->Vinl_plus;
    case 6: return &s->Vinl_minus;
    case 7: return &s->S_overshoot_high;
    case 8: return &s->S_overshoot_low;
    case 9: return &s->D_overshoot_high;
    case 10: return &s->D_overshoot_low;
    case 11: return &s->D_overshoot_time;
    case 12: return &s->Pulse_high;
    case 13: return &s->Pulse_low;
    case 14: return &s->Pulse_time;
    case 15: return &s->Vmeas;
    case 16: return &s->Vref;
    case 17: return &s->Cref;
    case 18: return &s->Rref;
    case 19: return &s->Rref_diff;
    case 20: return &s->Cref_diff;
    case 21: return &s->Vref_rising;
    case 22: return &s->Vref_falling;
    case 23: return &s->Cref_rising;
    case 24: return &s->Cref_falling;
    case 25: return &s->Rref_rising;
    case 26: return &s->Rref_falling;
    case 27: return &s->Vmeas_rising;
    case 28: return &s->Vmeas_falling;
    case 29: return &s->D_overshoot_amp_h;
    case 30: return &s->D_overshoot_amp_l;
    case 31: return &s->D_overshoot_area_h;
    default: return &s->D_overshoot_area_l;
    }
}

#define TB(t) (1UL << (t))
// Types for which ids 1-14 do not fit: all but the receivers.
static const unsigned long kReceivers = TB(MDL_INPUT) | TB(MDL_IO) | TB(MDL_IO_OPEN_DRAIN) |
                                        TB(MDL_IO_OPEN_SINK) | TB(MDL_IO_OPEN_SOURCE) |
                                        TB(MDL_INPUT_ECL) | TB(MDL_IO_ECL);
// Types for which the timing-load ids do not fit.
static const unsigned long kNoLoad = TB(MDL_INPUT) | TB(MDL_INPUT_ECL) | TB(MDL_TERMINATOR) |
                                     TB(MDL_SERIES) | TB(MDL_SERIES_SWITCH);

static int s_Misfits(int id, int type)
{
    unsigned long bit = type >= 0 && type < 32 ? TB(type) : 0;
    if (id <= 14) return (kReceivers & bit) == 0;
    if (id == 19 || id == 20) return 1;
    if (id <= 28) return (kNoLoad & bit) != 0;
    return 0;
}

int MSPEC_New(const char* keywordLine, ModelSpecRecord** slot)
{
    CMN_ASSERT(keywordLine != nullptr && slot != nullptr);
    if (*slot != nullptr) {
        ERRLOG_LineErrorNew(3800);
        ModelSpecRecord* old = *slot;
        *slot = nullptr;
        MSPEC_Free(old);
    }
    if (!CMN_malloc((void**)slot, sizeof(ModelSpecRecord))) {
        *slot = nullptr;
        ERRLOG_BugNew(3801, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    RNG_CheckKeywordLine(keywordLine, "Model Spec", 3802, 3803, 3804);
    gMspecBeginLine = PARSE_GetLineNum();
    return 1;
}

void MSPEC_ReceiveLine(const char* text, ModelSpecRecord* spec, const char* modelName)
{
    CMN_ASSERT(text != nullptr && spec != nullptr && modelName != nullptr);
    int maxId = geFileVersion <= 3 ? 15 : geFileVersion == 4 ? 28 : 32;
    int id = RNG_FirstTokenId(text, mspec_subs_ver5);
    if (id == 0 || id > maxId) {
        ERRLOG_LineErrorNew(3806);
        return;
    }
    const RNG_SUB_ENTRY* found = nullptr;
    for (const RNG_SUB_ENTRY* row = mspec_subs_ver5; found == nullptr; row++)
        if (row->id == id) found = row;
    if (gCurrentModel != nullptr && s_Misfits(found->id, gCurrentModel->Model_type)) {
        const char* word = nullptr;
        MDL_FindTypeName(gCurrentModel->Model_type, &word);
        ERRLOG_LineWarnNew(3805, found->name, word != nullptr ? word : "No Type");
    }
    TypMinMax** field = s_Field(spec, found->id);
    if (*field != nullptr) {
        ERRLOG_LineErrorNew(3807, found->name, modelName);
        return;
    }
    SUBPARM_Range(text, s_RangeName(found->id), field, 3808);
}

void MSPEC_Free(ModelSpecRecord* spec)
{
    if (spec == nullptr) return;
    for (int id = 1; id <= 32; id++) RNG_Free(*s_Field(spec, id));
    free(spec);
}

void MSPEC_Reset(void) { gMspecBeginLine = 0; }

// ---------------------------------------------------------------------------
// End checks.

static int s_Given(const TypMinMax* r) { return r != nullptr && r->typ_state == RNG_NUMBER; }

static const char* const kCornerWord[3] = {"Typ", "Min", "Max"};

enum { REL_LT, REL_GT, REL_LE, REL_GE };

static int s_Holds(double a, double b, int rel)
{
    switch (rel) {
    case REL_LT: return a < b;
    case REL_GT: return a > b;
    case REL_LE: return a <= b;
    default: return a >= b;
    }
}

static int s_RelCode(int rel)
{
    static const int codes[] = {3817, 3818, 3819, 3820};
    return codes[rel];
}

// A min or max corner that is a number or NA is compared; NA takes typ.
static int s_Corner(const TypMinMax* r, int corner, double* v)
{
    uint32_t state = corner == 1 ? r->min_state : r->max_state;
    double value = corner == 1 ? r->min_value : r->max_value;
    if (state == RNG_NUMBER) {
        *v = value;
        return 1;
    }
    if (state == RNG_NA) {
        *v = r->typ_value;
        return 1;
    }
    return 0;
}

static void s_Pair(const TypMinMax* a, const char* an, const TypMinMax* b, const char* bn,
                   int rel)
{
    if (!s_Given(b)) return;
    if (!s_Holds(a->typ_value, b->typ_value, rel))
        ERRLOG_WarnNew(s_RelCode(rel), an, "Typ", bn, "Typ", (int)gMspecBeginLine);
    for (int corner = 1; corner <= 2; corner++) {
        double av, bv;
        if (s_Corner(a, corner, &av) && s_Corner(b, corner, &bv) && !s_Holds(av, bv, rel))
            ERRLOG_WarnNew(s_RelCode(rel), an, kCornerWord[corner], bn, kCornerWord[corner],
                           (int)gMspecBeginLine);
    }
}

// Sign of each corner, in the order Typ, Max, Min; a min or max that is not
// a number takes the typ value.  negative: below zero is reported (3811),
// else above zero (3810).
static void s_Sign(const TypMinMax* r, const char* name, int negative)
{
    static const char* const label[3] = {"(Typ)", "(Max)", "(Min)"};
    double v[3] = {r->typ_value, r->max_state == RNG_NUMBER ? r->max_value : r->typ_value,
                   r->min_state == RNG_NUMBER ? r->min_value : r->typ_value};
    for (int i = 0; i < 3; i++) {
        if (negative ? v[i] < 0 : v[i] > 0) {
            char item[64];
            snprintf(item, sizeof item, "%s %s", name, label[i]);
            ERRLOG_WarnNew(negative ? 3811 : 3810, item, (int)gMspecBeginLine);
        }
    }
}

static void s_Requires(const char* a, const char* b)
{
    ERRLOG_ErrorNew(3812, a, b, (int)gMspecBeginLine);
}

// Pulse_high/Pulse_low against the model's own threshold, one corner at a
// time.
static void s_PulseAgainstModel(const TypMinMax* p, const char* pn, double limit,
                                const char* ln, int rel)
{
    if (!s_Holds(p->typ_value, limit, rel))
        ERRLOG_WarnNew(s_RelCode(rel), pn, "Typ", ln, "Typ", (int)gMspecBeginLine);
    for (int corner = 1; corner <= 2; corner++) {
        double v;
        if (s_Corner(p, corner, &v) && !s_Holds(v, limit, rel))
            ERRLOG_WarnNew(s_RelCode(rel), pn, kCornerWord[corner], ln, kCornerWord[corner],
                           (int)gMspecBeginLine);
    }
}

// Pulse_high (Pulse_low) needs Pulse_time and must lie above (below) the
// hysteresis threshold when all four are given, else the [Model Spec]'s own
// threshold, else the model's.
static void s_PulseLimit(const ModelSpecRecord* s, const TypMinMax* pulse, const char* pulseName,
                         const TypMinMax* hyst, const char* hystName, const TypMinMax* spec,
                         const char* specName, const double* own, int rel)
{
    if (!s_Given(pulse)) return;
    if (!s_Given(s->Pulse_time)) s_Requires(pulseName, "Pulse_time");
    if (s->allHysteresis)
        s_Pair(pulse, pulseName, hyst, hystName, rel);
    else if (s_Given(spec))
        s_Pair(pulse, pulseName, spec, specName, rel);
    else if (own != nullptr)
        s_PulseAgainstModel(pulse, pulseName, *own, specName, rel);
    else
        s_Requires(pulseName, "Thresholds or Hysteresis Thresholds");
}

int MSPEC_Fini(ModelRecord* model)
{
    CMN_ASSERT(model != nullptr && model->ModelSpec != nullptr);
    ModelSpecRecord* s = model->ModelSpec;
    // 1. Hysteresis.
    int hyst = s_Given(s->Vinh_plus) + s_Given(s->Vinh_minus) + s_Given(s->Vinl_plus) +
               s_Given(s->Vinl_minus);
    s->allHysteresis = hyst == 4;
    if (hyst == 4) {
        s_Pair(s->Vinh_plus, "Vinh+", s->Vinh_minus, "Vinh-", REL_GE);
        s_Pair(s->Vinl_plus, "Vinl+", s->Vinl_minus, "Vinl-", REL_GE);
    } else if (hyst > 0) {
        ERRLOG_WarnNew(3809, "", (int)gMspecBeginLine);
    }
    // 2. Static overshoot.
    if (s_Given(s->S_overshoot_high)) s_Sign(s->S_overshoot_high, "S_overshoot_high", 1);
    if (s_Given(s->S_overshoot_low)) s_Sign(s->S_overshoot_low, "S_overshoot_low", 0);
    // 3, 4. Dynamic overshoot.
    if (s_Given(s->D_overshoot_high)) {
        s_Sign(s->D_overshoot_high, "D_overshoot_high", 1);
        if (!s_Given(s->S_overshoot_high))
            s_Requires("D_overshoot_high", "S_overshoot_high");
        else
            s_Pair(s->D_overshoot_high, "D_overshoot_high", s->S_overshoot_high,
                   "S_overshoot_high", REL_GT);
        if (!s_Given(s->D_overshoot_time)) s_Requires("D_overshoot_high", "D_overshoot_time");
    }
    if (s_Given(s->D_overshoot_low)) {
        s_Sign(s->D_overshoot_low, "D_overshoot_low", 0);
        if (!s_Given(s->S_overshoot_low))
            s_Requires("D_overshoot_low", "S_overshoot_low");
        else
            s_Pair(s->D_overshoot_low, "D_overshoot_low", s->S_overshoot_low,
                   "S_overshoot_low", REL_LT);
        if (!s_Given(s->D_overshoot_time)) s_Requires("D_overshoot_low", "D_overshoot_time");
    }
    // 5, 6. Overshoot area and amplitude.
    if (s_Given(s->D_overshoot_area_h)) {
        s_Sign(s->D_overshoot_area_h, "D_overshoot_area_h", 1);
        if (!s_Given(s->D_overshoot_amp_h))
            ERRLOG_ErrorNew(3813, "D_overshoot_amp_h", "D_overshoot_area_h", (int)gMspecBeginLine);
    }
    if (s_Given(s->D_overshoot_area_l)) {
        s_Sign(s->D_overshoot_area_l, "D_overshoot_area_l", 1);
        if (!s_Given(s->D_overshoot_amp_l))
            ERRLOG_ErrorNew(3813, "D_overshoot_amp_l", "D_overshoot_area_l", (int)gMspecBeginLine);
    }
    if (s_Given(s->D_overshoot_amp_h)) s_Sign(s->D_overshoot_amp_h, "D_overshoot_amp_h", 1);
    if (s_Given(s->D_overshoot_amp_l)) s_Sign(s->D_overshoot_amp_l, "D_overshoot_amp_l", 1);
    // 7. Overshoot time.
    if (s_Given(s->D_overshoot_time)) {
        if (s_Given(s->D_overshoot_low) || s_Given(s->D_overshoot_high))
            s_Sign(s->D_overshoot_time, "D_overshoot_time", 1);
        else
            ERRLOG_WarnNew(3814, "D_overshoot_time", (int)gMspecBeginLine);
    }
    // 8, 9. Pulse immunity against the thresholds.
    s_PulseLimit(s, s->Pulse_high, "Pulse_high", s->Vinh_minus, "Vinh-", s->Vinl, "Vinl",
                 model->Vinl, REL_GT);
    s_PulseLimit(s, s->Pulse_low, "Pulse_low", s->Vinl_plus, "Vinl+", s->Vinh, "Vinh",
                 model->Vinh, REL_LT);
    // 10. Pulse time.
    if (s_Given(s->Pulse_time)) {
        if (s_Given(s->Pulse_high) || s_Given(s->Pulse_low))
            s_Sign(s->Pulse_time, "Pulse_time", 1);
        else
            ERRLOG_WarnNew(3814, "Pulse_time", (int)gMspecBeginLine);
    }
    // 11. Edge-specific references.
    const struct {
        const char* plain;
        const char* rising;
        const char* falling;
        const TypMinMax* p;
        const TypMinMax* r;
        const TypMinMax* f;
    } groups[] = {
        {"Vmeas", "Vmeas_rising", "Vmeas_falling", s->Vmeas, s->Vmeas_rising, s->Vmeas_falling},
        {"Vref", "Vref_rising", "Vref_falling", s->Vref, s->Vref_rising, s->Vref_falling},
        {"Cref", "Cref_rising", "Cref_falling", s->Cref, s->Cref_rising, s->Cref_falling},
        {"Rref", "Rref_rising", "Rref_falling", s->Rref, s->Rref_rising, s->Rref_falling},
    };
    for (const auto& g : groups) {
        if (s_Given(g.r)) {
            if (!s_Given(g.f)) ERRLOG_ErrorNew(3815, g.falling, g.rising);
            if (s_Given(g.p)) ERRLOG_ErrorNew(3816, g.plain, g.rising);
        }
        if (s_Given(g.f)) {
            if (!s_Given(g.r)) ERRLOG_ErrorNew(3815, g.rising, g.falling);
            if (s_Given(g.p)) ERRLOG_ErrorNew(3816, g.plain, g.falling);
        }
    }
    return 1;
}

// DC/AC consistency checks of the models and their dynamic-clamp submodels.
// Every curve built here is the check's own and is freed before it returns;
// the records are only read (a falling table is reversed for the length of
// one sum and put back).
#include "acdc.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>

#include "cmn.h"
#include "errlog.h"
#include "mdl.h"
#include "query.h"
#include "submdl.h"

#define CMN_MODULE_PATH "IbisParser/acdc"

// Internal linkage: the range checks have a gate of the same name.
static int gbAllowChecking = 1;

int acdc_SetCheckGate(int flag)
{
    gbAllowChecking = flag != 0;
    return gbAllowChecking;
}

static const int kCorners[3] = {QRY_TYP, QRY_MIN, QRY_MAX};

// ---- monotonicity ---------------------------------------------------------

typedef struct {
    double last;
    uint32_t state;       // 0 no value yet, 1 tracking, 2 already reported
    uint32_t direction;   // 0 not known, 1 rising, 2 falling
} MonoTracker;

static MonoTracker gVol, gTyp, gMin, gMax;

static void s_Report(int severity, int code, const char* label, const char* modelName,
                     const char* word)
{
    if (severity == 8)
        ERRLOG_NoteNew(code, label, modelName, word);
    else
        ERRLOG_WarnNew(code, label, modelName, word);
}

static void s_CheckMonotonicValue(MonoTracker* t, double v, const char* label,
                                  const char* modelName, const char* word, int severity)
{
    if (t->state == 2)
        return;
    if (t->state == 0) {
        t->last = v;
        t->state = 1;
        t->direction = 0;
        return;
    }
    if (t->direction == 0) {
        if (v > t->last)
            t->direction = 1;
        else if (v < t->last)
            t->direction = 2;
    } else if ((t->direction == 1 && v < t->last) || (t->direction == 2 && v > t->last)) {
        s_Report(severity, 1509, label, modelName, word);
        t->state = 2;
        return;
    }
    t->last = v;
}

static void s_CheckMonotonicity(const CurveRecord* curve, const char* modelName,
                                const char* label, int corner, int severity)
{
    gVol.state = gTyp.state = gMin.state = gMax.state = 0;
    if (curve == NULL)
        return;
    for (const RangePoint* p = curve->table; p != NULL; p = p->next) {
        switch (corner) {
        case QRY_TYP:
            if (p->x_state == RNG_NUMBER)
                s_CheckMonotonicValue(&gVol, p->x_value, label, modelName, "Voltage", severity);
            if (p->typ_state == RNG_NUMBER)
                s_CheckMonotonicValue(&gTyp, p->typ_value, label, modelName, "Typical", severity);
            break;
        case QRY_MIN:
            if (p->min_state == RNG_NUMBER)
                s_CheckMonotonicValue(&gMin, p->min_value, label, modelName, "Minimum", severity);
            break;
        case QRY_MAX:
            if (p->max_state == RNG_NUMBER)
                s_CheckMonotonicValue(&gMax, p->max_value, label, modelName, "Maximum", severity);
            break;
        default:
            break;
        }
    }
}

static int s_Usable(const CurveRecord* curve, int corner)
{
    return curve != NULL && !qry_RngpIsBad(curve->table, corner);
}

// Monotonicity of a curve when it is usable for the corner.
static void s_CheckIfUsable(const CurveRecord* curve, const char* modelName, const char* label,
                            int corner, int severity)
{
    if (s_Usable(curve, corner))
        s_CheckMonotonicity(curve, modelName, label, corner, severity);
}

// ---- building the curves as the pin sees them ----------------------------

static int s_IsEcl(int type)
{
    return type == MDL_INPUT_ECL || type == MDL_OUTPUT_ECL || type == MDL_IO_ECL ||
           type == MDL_3STATE_ECL;
}

// A copy of table on its own grid for the corner (of the zero curve when
// table is missing), its x turned into pin voltage: mirrored about ref
// (x := ref - x) or shifted by it (x += ref).
static CurveRecord* s_PinCurve(CurveRecord* table, int corner, double ref, int mirror)
{
    CurveRecord* c = qry_AddCrvsProcess(table, qry_NullYFriendlyCrv(), corner);
    if (c == NULL)
        return NULL;
    if (mirror)
        qry_NegateX(c->table);
    qry_ShiftX(c->table, ref);
    return c;
}

// ---- operating points ----------------------------------------------------

int acdc_Interesction(double* v, double* i, double m1, double b1, double m2, double b2)
{
    CMN_ASSERT(v != NULL && i != NULL);
    if (fabs(m1 - m2) < 1e-32)
        return 0;
    *v = (b2 - b1) / (m1 - m2);
    *i = m1 * *v + b1;
    return 1;
}

int acdc_VI_Given_VIC_VR(CurveRecord* curve, int corner, double* v, double* i, double vSource,
                         double r, double vHint)
{
    CMN_ASSERT(v != NULL && i != NULL);
    if (curve == NULL)
        return 0;
    double x0, y0, x1, y1;
    RangePoint* p0 = qry_FirstYPoint(curve->table, corner, &x0, &y0);
    RangePoint* p1 = qry_NextYPoint(p0, corner, &x1, &y1);
    if (p0 == NULL || p1 == NULL || x0 > x1)
        return 0;
    double mLoad = -1.0 / r, bLoad = vSource / r;
    if (r < 1e-32) {
        mLoad = -1e32;
        bLoad = 1e32 * vSource;
    }
    int haveCandidate = 0, first = 1;
    double best = 1e32, candV = 0.0, candI = 0.0, vc = 0.0, ic = 0.0;
    for (; p1 != NULL; p0 = p1, x0 = x1, y0 = y1, p1 = qry_NextYPoint(p1, corner, &x1, &y1)) {
        double m = x1 - x0 < 1e-32 ? 1e32 : (y1 - y0) / (x1 - x0);
        double b = y0 - m * x0;
        if (!acdc_Interesction(&vc, &ic, m, b, mLoad, bLoad))
            return 0;
        // The curve extended below its first row.
        if (first && vc <= x0) {
            haveCandidate = 1;
            candV = vc;
            candI = ic;
            best = fabs(vc - vHint);
        }
        first = 0;
        if (vc > x0 - 1e-6 && vc < x1 + 1e-6 && fabs(vc - vHint) < best) {
            haveCandidate = 1;
            candV = vc;
            candI = ic;
            best = fabs(vc - vHint);
        }
    }
    if (!haveCandidate) {
        // The curve extended above its last row.
        candV = vc;
        candI = ic;
    }
    *v = candV;
    *i = candI;
    return 1;
}

// ---- one corner of a model -----------------------------------------------

static int s_IsOpenDrainType(int type)
{
    return type >= MDL_OPEN_DRAIN && type <= MDL_IO_OPEN_SINK;
}

static int s_IsOpenSourceType(int type)
{
    return type == MDL_OPEN_SOURCE || type == MDL_IO_OPEN_SOURCE;
}

int acdc_CheckModelProcessWave(ModelRecord* model, int corner, const WaveformRecord* wave,
                               CurveRecord* pulldownSum, CurveRecord* pullupSum, int rising)
{
    CMN_ASSERT(model != NULL && wave != NULL);
    double r = wave->R_fixture != NULL ? *wave->R_fixture : 1e32;
    double vFixture = wave->V_fixture != NULL ? *wave->V_fixture : 0.0;
    const char* fixtureWord = "V_fixture";
    if (corner == QRY_MIN && wave->V_fixture_min != NULL) {
        vFixture = *wave->V_fixture_min;
        fixtureWord = "V_fixture_min";
    } else if (corner == QRY_MAX && wave->V_fixture_max != NULL) {
        vFixture = *wave->V_fixture_max;
        fixtureWord = "V_fixture_max";
    }
    double t, first, last;
    RangePoint* table = wave->table;
    if (qry_FirstYPoint(table, corner, &t, &first) == NULL)
        return 1;
    qry_LastYPoint(table, corner, &t, &last);
    double low = rising ? first : last;
    double high = rising ? last : first;

    double opLow, opHigh, i;
    if (!acdc_VI_Given_VIC_VR(pulldownSum, corner, &opLow, &i, vFixture, r, low) ||
        !acdc_VI_Given_VIC_VR(pullupSum, corner, &opHigh, &i, vFixture, r, high))
        return 1;
    double swing = fabs(high - low);
    double dLow = fabs(opLow - low), dHigh = fabs(opHigh - high);
    int type = model->Model_type;
    int countLow = !s_IsOpenSourceType(type), countHigh = !s_IsOpenDrainType(type);
    // NaN in a level or a table is never "within": it ends at Warn.
    int beyond2 = (countLow && !(dLow <= 0.02 * swing)) || (countHigh && !(dHigh <= 0.02 * swing));
    int beyond10 = (countLow && dLow > 0.1 * swing) || (countHigh && dHigh > 0.1 * swing);
    if (!beyond2 && !beyond10)
        return 1;
    double pctLow = 100.0, pctHigh = 100.0;
    if (opLow != opHigh) {
        pctLow = 100.0 * dLow / fabs(opLow - opHigh);
        pctHigh = 100.0 * dHigh / fabs(opHigh - opLow);
    }
    if (beyond10)
        ERRLOG_ErrorNew(1503, model->name, rising ? "Rising" : "Falling", r, fixtureWord, vFixture,
                        qry_ProcessString(corner), low, high, opLow, opHigh, pctLow, pctHigh);
    else
        ERRLOG_WarnNew(1503, model->name, rising ? "Rising" : "Falling", r, fixtureWord, vFixture,
                       qry_ProcessString(corner), low, high, opLow, opHigh, pctLow, pctHigh);
    return 0;
}

int acdc_CheckModelProcessTestLoad(ModelRecord* model, int corner, CurveRecord* pulldownSum,
                                   CurveRecord* pullupSum)
{
    CMN_ASSERT(model != NULL);
    const TypMinMax* specVmeas = model->ModelSpec != NULL ? model->ModelSpec->Vmeas : NULL;
    double vmeas = 0.0;
    int fromSpec = qry_GetRngVal(specVmeas, QRY_TYP, &vmeas);
    if ((!fromSpec && model->Vmeas == NULL) || model->Rref == NULL || model->Vref == NULL)
        return 1;
    double rref = *model->Rref, vref = *model->Vref;
    int type = model->Model_type;
    double vDown = 0.0, vUp = 0.0, i;
    int haveDown = !s_IsOpenSourceType(type) && pulldownSum != NULL &&
                   acdc_VI_Given_VIC_VR(pulldownSum, corner, &vDown, &i, vref, rref, 0.0);
    int haveUp = !s_IsOpenDrainType(type) && pullupSum != NULL &&
                 acdc_VI_Given_VIC_VR(pullupSum, corner, &vUp, &i, vref, rref, 0.0);
    if (!haveDown && !haveUp)
        return 1;
    if (fromSpec)
        qry_GetRngVal(specVmeas, corner, &vmeas);   // min/max when present, else typ
    else
        vmeas = *model->Vmeas;
    if (model->ExternalModel != NULL)
        return 1;
    if ((haveDown && vDown > vmeas) || (haveUp && vUp < vmeas)) {
        ERRLOG_WarnNew(1500, model->name, qry_ProcessString(corner), vmeas, rref, vref);
        return 0;
    }
    return 1;
}

int acdc_CheckModelProcess(ModelRecord* model, int corner)
{
    CMN_ASSERT(model != NULL);
    if (model->Pulldown != NULL && model->Pullup != NULL && !s_Usable(model->Pulldown, corner) &&
        !s_Usable(model->Pullup, corner))
        return 1;
    double powerRef, pullupRef, gndRef, pulldownRef;
    qry_GetRefs4Process(model, corner, &powerRef, &pullupRef, &gndRef, &pulldownRef);

    CurveRecord* pulldown =
        s_PinCurve(model->Pulldown, corner, pulldownRef, s_IsEcl(model->Model_type));
    CurveRecord* pullup = s_PinCurve(model->Pullup, corner, pullupRef, 1);
    CurveRecord* gndClamp = s_PinCurve(model->GndClamp, corner, gndRef, 0);
    CurveRecord* powerClamp = s_PinCurve(model->PowerClamp, corner, powerRef, 1);
    CurveRecord *clamps = NULL, *pulldownSum = NULL, *pullupSum = NULL;
    int ok = pulldown != NULL && pullup != NULL && gndClamp != NULL && powerClamp != NULL;
    if (ok) {
        clamps = qry_AddCrvsProcess(powerClamp, gndClamp, corner);
        if (clamps != NULL) {
            pulldownSum = qry_AddCrvsProcess(clamps, pulldown, corner);
            pullupSum = qry_AddCrvsProcess(clamps, pullup, corner);
        }
        ok = clamps != NULL && pulldownSum != NULL && pullupSum != NULL;
    }
    if (ok) {
        s_CheckIfUsable(pulldownSum, model->name, "Combined Pulldown for Model:", corner, 4);
        s_CheckIfUsable(pullupSum, model->name, "Combined Pullup for Model:", corner, 4);
        if (gbAllowChecking) {
            for (const WaveformRecord* w = model->RisingWaveform; w != NULL; w = w->next)
                ok &= acdc_CheckModelProcessWave(model, corner, w, pulldownSum, pullupSum, 1);
            for (const WaveformRecord* w = model->FallingWaveform; w != NULL; w = w->next)
                ok &= acdc_CheckModelProcessWave(model, corner, w, pulldownSum, pullupSum, 0);
            CurveRecord* down = model->Pulldown != NULL && !s_Usable(model->Pulldown, corner)
                                    ? NULL
                                    : pulldownSum;
            CurveRecord* up =
                model->Pullup != NULL && !s_Usable(model->Pullup, corner) ? NULL : pullupSum;
            ok &= acdc_CheckModelProcessTestLoad(model, corner, down, up);
        }
    }
    CurveRecord* built[7] = {pulldown, pullup, gndClamp, powerClamp, clamps, pulldownSum, pullupSum};
    for (int k = 0; k < 7; k++) CRV_Free(built[k]);
    return ok;
}

// ---- clamps and open sides -----------------------------------------------

int acdc_CurrentNotExcessive(CurveRecord* curve, const char* name, const char* label, double v,
                             double limit)
{
    CMN_ASSERT(name != NULL && label != NULL);
    int ok = 1;
    for (int k = 0; k < 3; k++) {
        double i;
        if (qry_Y(curve, kCorners[k], &i, v) && fabs(i) > limit) {
            ERRLOG_WarnNew(1506, name, qry_ProcessString(kCorners[k]), label, i, v);
            ok = 0;
        }
    }
    return ok;
}

int acdc_CheckShuntCurrents(ModelRecord* model)
{
    CMN_ASSERT(model != NULL);
    int ok = acdc_CurrentNotExcessive(model->GndClamp, model->name, "GND_Clamp", -1.5, 10.0);
    ok &= acdc_CurrentNotExcessive(model->PowerClamp, model->name, "POWER_Clamp", -1.5, 10.0);
    return ok;
}

int acdc_CurrentNotZero(const CurveRecord* curve)
{
    if (curve == NULL)
        return 0;
    for (const RangePoint* p = curve->table; p != NULL; p = p->next) {
        if (p->x_state != RNG_NUMBER)
            continue;
        // A NaN is not 0.0 either.
        if ((p->typ_state == RNG_NUMBER && !(p->typ_value == 0.0)) ||
            (p->min_state == RNG_NUMBER && !(p->min_value == 0.0)) ||
            (p->max_state == RNG_NUMBER && !(p->max_value == 0.0)))
            return 1;
    }
    return 0;
}

int acdc_CheckOpenEndedCurrents(ModelRecord* model)
{
    CMN_ASSERT(model != NULL);
    int type = model->Model_type;
    if (s_IsOpenDrainType(type)) {
        if (acdc_CurrentNotZero(model->Pullup)) {
            ERRLOG_ErrorNew(1507, model->name);
            return 0;
        }
        if (acdc_CurrentNotZero(model->ISSO_PU)) {
            ERRLOG_ErrorNew(1510, model->name);
            return 0;
        }
    } else if (s_IsOpenSourceType(type)) {
        if (acdc_CurrentNotZero(model->Pulldown)) {
            ERRLOG_ErrorNew(1508, model->name);
            return 0;
        }
        if (acdc_CurrentNotZero(model->ISSO_PD)) {
            ERRLOG_ErrorNew(1511, model->name);
            return 0;
        }
    }
    return 1;
}

// ---- ISSO ----------------------------------------------------------------

// The corner's value of range: 1 found; 0 none (NA without typ); -1 the
// keyword is missing or the corner absent.
static int s_IssoValue(const TypMinMax* range, int corner, double* out)
{
    if (range == NULL)
        return -1;
    if (qry_GetRngVal(range, corner, out))
        return 1;
    uint32_t state = corner == QRY_TYP   ? range->typ_state
                     : corner == QRY_MIN ? range->min_state
                                         : range->max_state;
    if (state == RNG_NA)
        return qry_GetRngVal(range, QRY_TYP, out);
    return -1;
}

// The corner's current of curve at v: 1 with *i, else 0.
static int s_CurrentAt(const CurveRecord* curve, int corner, double v, double* i)
{
    double *typ, *min, *max;
    CRV_GetRefValCurrent(curve, &typ, &min, &max, v);
    double* mine = corner == QRY_TYP ? typ : corner == QRY_MIN ? min : max;
    int found = mine != NULL;
    if (found)
        *i = *mine;
    double* results[3] = {typ, min, max};
    for (int k = 0; k < 3; k++)
        if (results[k] != NULL)
            CMN_free(results[k]);
    return found;
}

// One side: [ISSO xx] at 0 V against the pull table at tableV (refU - refD),
// then [ISSO xx] at tableV; ref is the reference the messages print.
static int s_IssoSide(ModelRecord* model, int corner, CurveRecord* isso, CurveRecord* pull,
                      const char* issoWord, const char* pullWord, const char* otherWord, double ref,
                      double tableV)
{
    if (isso == NULL || pull == NULL || !s_Usable(isso, corner) || !s_Usable(pull, corner))
        return 1;
    const char* column = corner == QRY_TYP ? "Typical" : corner == QRY_MIN ? "Minimum" : "Maximum";
    int ok = 1;
    double i1, i2, i3;
    if (s_CurrentAt(isso, corner, 0.0, &i1) && s_CurrentAt(pull, corner, tableV, &i2) &&
        fabs(i2 - i1) > 1e-6 * fabs(i1)) {
        ERRLOG_WarnNew(1512, model->name, column, issoWord, i1, pullWord, i2, ref);
        ok = 0;
    }
    if (s_CurrentAt(isso, corner, tableV, &i3) && fabs(i3) > 1e-9) {
        ERRLOG_WarnNew(1513, model->name, column, issoWord, i3, otherWord, ref, tableV);
        ok = 0;
    }
    return ok;
}

int acdc_checkIsso(ModelRecord* model, int corner)
{
    CMN_ASSERT(model != NULL);
    if (corner != QRY_TYP && corner != QRY_MIN && corner != QRY_MAX)
        return 1;
    double refU = 0.0, refD = 0.0;
    int found = s_IssoValue(model->PullupRef, corner, &refU);
    if (found < 0)
        found = s_IssoValue(model->VoltageRange, corner, &refU);
    if (found <= 0)
        return 1;
    if (corner == QRY_TYP) {
        // The typical corner has no default pull-down reference.
        if (!qry_GetRngVal(model->PulldownRef, QRY_TYP, &refD))
            return 1;
    } else {
        found = s_IssoValue(model->PulldownRef, corner, &refD);
        if (found == 0)
            return 1;
        if (found < 0)
            refD = 0.0;
    }
    double tableV = refU - refD;
    int ok = s_IssoSide(model, corner, model->ISSO_PU, model->Pullup, "ISSO_PU", "Pullup",
                        "Pulldown", refD, tableV);
    ok &= s_IssoSide(model, corner, model->ISSO_PD, model->Pulldown, "ISSO_PD", "Pulldown",
                     "Pullup", refU, tableV);
    return ok;
}

// ---- whole models --------------------------------------------------------

int acdc_CheckModel(ModelRecord* model)
{
    CMN_ASSERT(model != NULL);
    int ok = 1;
    switch (model->Model_type) {
    case MDL_INPUT:
    case MDL_INPUT_ECL:
    case MDL_TERMINATOR:
    case MDL_SERIES:
    case MDL_SERIES_SWITCH:
        break;
    default:
        for (int k = 0; k < 3; k++) ok &= acdc_CheckModelProcess(model, kCorners[k]);
        for (int k = 0; k < 3; k++) acdc_checkIsso(model, kCorners[k]);
        break;
    }
    if (gbAllowChecking) {
        ok &= acdc_CheckShuntCurrents(model);
        ok &= acdc_CheckOpenEndedCurrents(model);
    }
    return ok;
}

int acdc_CheckAllModels(ModelRecord* models)
{
    if (!gbAllowChecking)
        return 0;
    int failed = 0;
    for (ModelRecord* m = models; m != NULL; m = m->next) failed += !acdc_CheckModel(m);
    return failed;
}

// ---- dynamic-clamp submodels ---------------------------------------------

static int s_NonDrivingType(int type)
{
    switch (type) {
    case MDL_INPUT:
    case MDL_IO:
    case MDL_IO_OPEN_DRAIN:
    case MDL_IO_OPEN_SINK:
    case MDL_IO_OPEN_SOURCE:
    case MDL_INPUT_ECL:
    case MDL_IO_ECL:
    case MDL_TERMINATOR:
        return 1;
    default:
        return 0;
    }
}

static int s_DrivingType(int type)
{
    return (type >= MDL_OUTPUT && type <= MDL_IO_OPEN_SOURCE) || type == MDL_OUTPUT_ECL ||
           type == MDL_IO_ECL || type == MDL_3STATE_ECL;
}

// A sum of many curves, added in pairs of equal standing (one curve with the
// next, then those pairs two by two, and so on), older curves on the left:
// each point takes part in about log2(n) additions instead of in every later
// one, so a model adding thousands of submodels costs no more than their
// points times that. No allocation of its own and no recursion: the runs
// pending are at most one per bit of the count.
typedef struct {
    CurveRecord* run[64];
    size_t length[64]; // curves summed into each run
    int top;
    int corner;
    int failed;
} CurveSum;

static void s_SumStart(CurveSum* s, int corner)
{
    s->top = 0;
    s->corner = corner;
    s->failed = 0;
}

// Adds curve (taken over; null means it could not be made) to the sum.
static void s_SumAdd(CurveSum* s, CurveRecord* curve)
{
    if (curve == NULL || s->failed) {
        CRV_Free(curve);
        s->failed = 1;
        return;
    }
    size_t length = 1;
    while (s->top > 0 && s->length[s->top - 1] == length) {
        CurveRecord* older = s->run[--s->top];
        CurveRecord* total = qry_AddCrvsProcess(older, curve, s->corner);
        CRV_Free(older);
        CRV_Free(curve);
        if (total == NULL) {
            s->failed = 1;
            return;
        }
        curve = total;
        length *= 2;
    }
    s->run[s->top] = curve;
    s->length[s->top] = length;
    s->top++;
}

// The whole sum (the caller frees it), or null when a curve or an addition
// could not be made; the runs are freed either way.
static CurveRecord* s_SumEnd(CurveSum* s)
{
    CurveRecord* total = s->top > 0 && !s->failed ? s->run[--s->top] : NULL;
    while (s->top > 0) {
        CurveRecord* older = s->run[--s->top];
        CurveRecord* sum = total != NULL ? qry_AddCrvsProcess(older, total, s->corner) : NULL;
        CRV_Free(older);
        CRV_Free(total);
        total = sum;
    }
    return total;
}

// gndClamp + powerClamp plus the clamps of every dynamic-clamp submodel the
// model adds in one of the two modes; null after an allocation failure.
static CurveRecord* s_ClampSum(ModelRecord* model, SubmodelRecord* submodels, int corner,
                               CurveRecord* gndClamp, CurveRecord* powerClamp, double gndRef,
                               double powerRef, int mode)
{
    CurveSum sum;
    s_SumStart(&sum, corner);
    s_SumAdd(&sum, qry_AddCrvsProcess(gndClamp, powerClamp, corner));
    for (AddSubmodelEntry* e = model->AddSubmodel; e != NULL && !sum.failed; e = e->next) {
        if (e->mode != mode && e->mode != 2)
            continue;
        // The newest submodel of the name, through the container's index.
        SubmodelRecord* s = SUBMDL_NameExists(submodels, e->name);
        if (s == NULL || s->Submodel_type != 2)
            continue;
        s_SumAdd(&sum, s_PinCurve(s->GND_Clamp, corner, gndRef, 0));
        if (!sum.failed)
            s_SumAdd(&sum, s_PinCurve(s->POWER_Clamp, corner, powerRef, 1));
    }
    return s_SumEnd(&sum);
}

int acdc_CheckSubModelClamps(ModelRecord* models, SubmodelRecord* submodels, int corner)
{
    for (ModelRecord* m = models; m != NULL; m = m->next) {
        if (m->AddSubmodel == NULL)
            continue;
        if (m->GndClamp != NULL && m->PowerClamp != NULL && !s_Usable(m->GndClamp, corner) &&
            !s_Usable(m->PowerClamp, corner))
            continue;
        double powerRef, pullupRef, gndRef, pulldownRef;
        qry_GetRefs4Process(m, corner, &powerRef, &pullupRef, &gndRef, &pulldownRef);
        CurveRecord* gndClamp = s_PinCurve(m->GndClamp, corner, gndRef, 0);
        CurveRecord* powerClamp = s_PinCurve(m->PowerClamp, corner, powerRef, 1);
        // Without room for a curve the model is skipped; what it built is freed.
        if (gndClamp != NULL && powerClamp != NULL) {
            static const struct {
                int mode;
                const char* label;
                int (*applies)(int);
            } modes[2] = {{1, "Combined Clamp in Non Driving Mode for Model", s_NonDrivingType},
                          {0, "Combined Clamp in Driving Mode for Model", s_DrivingType}};
            for (int k = 0; k < 2; k++) {
                if (!modes[k].applies(m->Model_type))
                    continue;
                CurveRecord* sum = s_ClampSum(m, submodels, corner, gndClamp, powerClamp, gndRef,
                                              powerRef, modes[k].mode);
                if (sum == NULL)
                    break;
                s_CheckIfUsable(sum, m->name, modes[k].label, corner, 4);
                CRV_Free(sum);
            }
        }
        CRV_Free(gndClamp);
        CRV_Free(powerClamp);
    }
    return 1;
}

int acdc_CheckAllSubModels(ModelRecord* models, SubmodelRecord* submodels)
{
    if (!gbAllowChecking)
        return 0;
    for (int k = 0; k < 3; k++) acdc_CheckSubModelClamps(models, submodels, kCorners[k]);
    return 0;
}

// The four tables of a model or submodel, each at Note severity.
static void s_CheckFourTables(CurveRecord* const tables[4], const char* const labels[4],
                              const char* name, int corner)
{
    for (int k = 0; k < 4; k++) s_CheckIfUsable(tables[k], name, labels[k], corner, 8);
}

int acdc_CheckSubModelProcess(SubmodelRecord* submodel, int corner)
{
    CMN_ASSERT(submodel != NULL);
    if (submodel->Submodel_type != 2)
        return 1;
    CurveRecord* const tables[4] = {submodel->POWER_Clamp, submodel->GND_Clamp, submodel->Pulldown,
                                    submodel->Pullup};
    static const char* const labels[4] = {"POWER Clamp for SubModel:", "GND Clamp for SubModel:",
                                          "Pulldown for SubModel:", "Pullup for SubModel:"};
    s_CheckFourTables(tables, labels, submodel->name, corner);
    return 1;
}

int acdc_CheckSubModel(SubmodelRecord* submodel)
{
    if (!gbAllowChecking)
        return 1;
    int ok = 1;
    for (int k = 0; k < 3; k++) ok &= acdc_CheckSubModelProcess(submodel, kCorners[k]);
    return ok;
}

int acdc_CheckModelProcessCurves(ModelRecord* model, int corner)
{
    CMN_ASSERT(model != NULL);
    CurveRecord* const tables[4] = {model->PowerClamp, model->GndClamp, model->Pulldown,
                                    model->Pullup};
    static const char* const labels[4] = {"POWER Clamp for Model:", "GND Clamp for Model:",
                                          "Pulldown for Model:", "Pullup for Model:"};
    s_CheckFourTables(tables, labels, model->name, corner);
    return 1;
}

// ---- curve dump ----------------------------------------------------------

int DumpCrvCsv(const CurveRecord* curve, int corner, const char* prefix, const char* name)
{
    CMN_ASSERT(prefix != NULL && name != NULL);
    const char* suffix = corner == QRY_TYP   ? "_typ.csv"
                         : corner == QRY_MIN ? "_min.csv"
                         : corner == QRY_MAX ? "_max.csv"
                                             : "";
    char path[128];
    int n = snprintf(path, sizeof path, "%s%s%s", prefix, name, suffix);
    if (n < 0 || (size_t)n >= sizeof path)
        return EOF;
    // Binary on Windows as well: the lines end in LF on every build.
    FILE* fp = CMN_fopen(path, "w");
    if (fp == NULL)
        return EOF;
    for (const RangePoint* p = curve != NULL ? curve->table : NULL; p != NULL; p = p->next) {
        double x, y;
        if (qry_ThisYPoint((RangePoint*)p, corner, &x, &y) != NULL)
            fprintf(fp, "%e,%e\n", x, y);
    }
    return fclose(fp);
}

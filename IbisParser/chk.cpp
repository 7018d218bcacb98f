// Range checks over the models, submodels and components of a read.
#include "chk.h"

#include <string.h>

#include <new>
#include <vector>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "mdl.h"
#include "nameidx.h"
#include "query.h"
#include "submdl.h"
#include "wvfrm.h"

#define CMN_MODULE_PATH "IbisParser/chk"

// Internal linkage: the DC/AC checks have a gate of the same name.
static int gbAllowChecking = 1;

int chk_SetCheckGate(int flag)
{
    gbAllowChecking = flag != 0;
    return gbAllowChecking;
}

int chk_RngValIsInRange(const TypMinMax* range, int code, const char* name, double lo, double hi,
                        double scale)
{
    if (range == NULL)
        return 1;
    static const int corners[3] = {QRY_TYP, QRY_MIN, QRY_MAX};
    int ok = 1;
    for (int i = 0; i < 3; i++) {
        double v;
        if (!qry_GetRngVal(range, corners[i], &v))
            continue;
        if (v < lo || v > hi) {
            ERRLOG_WarnNew(code, name, qry_ProcessString(corners[i]), v * scale, lo * scale,
                           hi * scale);
            ok = 0;
        }
    }
    return ok;
}

int chk_RngValMinMax(const TypMinMax* range, int code, const char* name)
{
    double lo, hi;
    if (range == NULL || !qry_GetRngVal(range, QRY_MIN, &lo) || !qry_GetRngVal(range, QRY_MAX, &hi))
        return 1;
    if (lo > hi) {
        ERRLOG_WarnNew(code, name);
        return 0;
    }
    return 1;
}

int chk_RampLineIsInRange(const RampRatioSet* rampSet, const char* edge, const char* name,
                          const char* kind, double limit)
{
    if (rampSet == NULL)
        return 1;
    const RampRatio* ratios[3] = {&rampSet->typ_ratio, &rampSet->min_ratio, &rampSet->max_ratio};
    static const int corners[3] = {QRY_TYP, QRY_MIN, QRY_MAX};
    int ok = 1;
    for (int i = 0; i < 3; i++) {
        if (ratios[i]->state == RNG_NUMBER && ratios[i]->dt > limit) {
            ERRLOG_WarnNew(1703, kind, name, qry_ProcessString(corners[i]), edge,
                           ratios[i]->dt * 1e9, limit * 1e9);
            ok = 0;
        }
    }
    return ok;
}

// Both edges of a [Ramp]; passes without one.
static int s_CheckRamp(const RampRecord* ramp, const char* name, const char* kind)
{
    if (ramp == NULL)
        return 1;
    int ok = chk_RampLineIsInRange(ramp->dVdt_r, "Rising", name, kind, 0.001);
    ok &= chk_RampLineIsInRange(ramp->dVdt_f, "Falling", name, kind, 0.001);
    return ok;
}

int chk_CheckModelRange(ModelRecord* model)
{
    CMN_ASSERT(model != NULL);
    const TypMinMax* caps[5] = {model->C_comp, model->C_comp_pullup, model->C_comp_pulldown,
                                model->C_comp_power_clamp, model->C_comp_gnd_clamp};
    int ok = 1;
    for (int i = 0; i < 5; i++) ok &= chk_RngValIsInRange(caps[i], 1716 + i, model->name, 0.0, 1e-9, 1e12);
    ok &= s_CheckRamp(model->Ramp, model->name, "Model");
    return ok;
}

int chk_CheckSubModelRange(SubmodelRecord* submodel)
{
    CMN_ASSERT(submodel != NULL);
    return s_CheckRamp(submodel->Ramp, submodel->name, "Sub Model");
}

int chk_CheckModelCurves(ModelRecord* model)
{
    CMN_ASSERT(model != NULL);
    if (model->ExternalModel != NULL)
        return 1;
    int ok = 1;
    switch (model->Model_type) {
    case MDL_OUTPUT:
    case MDL_IO:
    case MDL_3STATE:
    case MDL_OUTPUT_ECL:
    case MDL_IO_ECL:
    case MDL_3STATE_ECL:
        if (model->Pullup == NULL) {
            ERRLOG_WarnNew(1704, model->name);
            ok = 0;
        }
        if (model->Pulldown == NULL) {
            ERRLOG_WarnNew(1705, model->name);
            ok = 0;
        }
        break;
    case MDL_OPEN_SOURCE:
    case MDL_IO_OPEN_SOURCE:
        if (model->Pullup == NULL) {
            ERRLOG_WarnNew(1707, model->name);
            ok = 0;
        }
        break;
    case MDL_OPEN_DRAIN:
    case MDL_IO_OPEN_DRAIN:
    case MDL_OPEN_SINK:
    case MDL_IO_OPEN_SINK:
        if (model->Pulldown == NULL) {
            ERRLOG_WarnNew(1706, model->name);
            ok = 0;
        }
        break;
    default:
        break;
    }
    return ok;
}

static int s_CheckWaveList(const WaveformRecord* list, const char* modelName, const char* edge)
{
    int ok = 1, index = 1;
    for (const WaveformRecord* w = list; w != NULL; w = w->next, index++)
        if (w->composite_current != NULL)
            ok &= WVFRM_Compare(w, w->composite_current, index, modelName, edge);
    return ok;
}

int chk_CheckModelWaves(ModelRecord* model)
{
    CMN_ASSERT(model != NULL);
    int ok = s_CheckWaveList(model->RisingWaveform, model->name, "Rising");
    ok &= s_CheckWaveList(model->FallingWaveform, model->name, "Falling");
    return ok;
}

int chk_CheckModel(ModelRecord* model)
{
    if (!gbAllowChecking)
        return 1;
    CMN_ASSERT(model != NULL);
    int ok = chk_CheckModelRange(model);
    ok &= chk_CheckModelCurves(model);
    ok &= chk_CheckModelWaves(model);
    return ok;
}

int chk_CheckSubModel(SubmodelRecord* submodel)
{
    if (!gbAllowChecking)
        return 1;
    return chk_CheckSubModelRange(submodel);
}

int chk_CheckPackage(PackageRecord* package, const char* componentName)
{
    CMN_ASSERT(package != NULL && componentName != NULL);
    int ok = chk_RngValIsInRange(package->R_pkg, 1710, componentName, 0.0, 50.0, 1.0);
    ok &= chk_RngValMinMax(package->R_pkg, 1711, componentName);
    ok &= chk_RngValIsInRange(package->L_pkg, 1712, componentName, 0.0, 1e-6, 1e9);
    ok &= chk_RngValMinMax(package->L_pkg, 1713, componentName);
    ok &= chk_RngValIsInRange(package->C_pkg, 1714, componentName, 0.0, 1e-9, 1e12);
    ok &= chk_RngValMinMax(package->C_pkg, 1715, componentName);
    return ok;
}

int chk_CheckPin(PinRecord* pin, const char* componentName)
{
    CMN_ASSERT(pin != NULL && componentName != NULL);
    int ok = 1;
    // NA counts as given; its value 0.0 never exceeds a limit.
    if (pin->R_pinState != RNG_ABSENT && pin->R_pin > 50.0) {
        ERRLOG_WarnNew(1700, componentName, pin->pinName, pin->R_pin, 50.0);
        ok = 0;
    }
    if (pin->L_pinState != RNG_ABSENT && pin->L_pin > 1e-6) {
        ERRLOG_WarnNew(1701, componentName, pin->pinName, pin->L_pin * 1e9, 1000.0);
        ok = 0;
    }
    if (pin->C_pinState != RNG_ABSENT && pin->C_pin > 1e-9) {
        ERRLOG_WarnNew(1702, componentName, pin->pinName, pin->C_pin * 1e12, 1000.0);
        ok = 0;
    }
    return ok;
}

int chk_UniqueNode(ComponentRecord* component, NodeNameEntry* node, NodeNameEntry* rest)
{
    CMN_ASSERT(component != NULL && node != NULL);
    if (node->name == NULL)
        return 1;
    // Once for the node, however many later names repeat it.
    for (NodeNameEntry* n = rest; n != NULL; n = n->next) {
        if (n->name != NULL && strcmp(n->name, node->name) == 0) {
            ERRLOG_ErrorNew(1708, component->name, node->name);
            return 0;
        }
    }
    return 1;
}

// Node names equal to a pin's name: one 1709 per such node.
static int s_NodesLikePin(ComponentRecord* component, PinRecord* pin)
{
    int ok = 1;
    for (NodeNameEntry* n = component->nodes; n != NULL; n = n->next)
        if (n->name != NULL && strcmp(pin->pinName, n->name) == 0) {
            ERRLOG_ErrorNew(1709, component->name, pin->pinName, n->name);
            ok = 0;
        }
    return ok;
}

int chk_CheckNode(ComponentRecord* component)
{
    CMN_ASSERT(component != NULL);
    if (component->nodes == NULL)
        return 1;
    // The names are counted first, so that long node and pin lists take
    // linear time and the messages grow with the lists: 1708 once for each
    // node that a later node repeats, in list order; 1709 once for each node
    // named like a pin, at the first pin of that name (a repeated pin does
    // not repeat them).
    std::vector<char> repeated;
    std::vector<int> likePin;
    try {
        std::vector<const NodeNameEntry*> nodes;
        for (NodeNameEntry* n = component->nodes; n != NULL; n = n->next)
            if (n->name != NULL)
                nodes.push_back(n);
        repeated.resize(nodes.size());
        NameCount names;
        for (size_t i = nodes.size(); i-- > 0;)
            repeated[i] = names.Add(nodes[i]->name, NULL) > 0;
        NameCount pins;
        for (PinRecord* p = component->pins; p != NULL; p = p->next)
            likePin.push_back(pins.Add(p->pinName, NULL) == 0 ? names.Count(p->pinName) : 0);
    } catch (const std::bad_alloc&) {
        // No room to count: compare name by name.
        int ok = 1;
        for (NodeNameEntry* n = component->nodes; n != NULL; n = n->next)
            ok &= chk_UniqueNode(component, n, n->next);
        for (PinRecord* p = component->pins; p != NULL; p = p->next) {
            PinRecord* q = component->pins;
            while (q != p && strcmp(q->pinName, p->pinName) != 0)
                q = q->next;
            if (q == p)
                ok &= s_NodesLikePin(component, p);
        }
        return ok;
    }
    int ok = 1;
    size_t k = 0;
    for (NodeNameEntry* n = component->nodes; n != NULL; n = n->next) {
        if (n->name == NULL)
            continue;
        if (repeated[k++]) {
            ERRLOG_ErrorNew(1708, component->name, n->name);
            ok = 0;
        }
    }
    k = 0;
    for (PinRecord* p = component->pins; p != NULL; p = p->next, k++) {
        for (int i = 0; i < likePin[k]; i++)
            ERRLOG_ErrorNew(1709, component->name, p->pinName, p->pinName);
        ok &= likePin[k] == 0;
    }
    return ok;
}

int chk_CheckComponent(ComponentRecord* component)
{
    if (!gbAllowChecking)
        return 1;
    CMN_ASSERT(component != NULL);
    int ok = 1;
    if (component->package != NULL)
        ok &= chk_CheckPackage(component->package, component->name);
    for (PinRecord* p = component->pins; p != NULL; p = p->next) ok &= chk_CheckPin(p, component->name);
    ok &= chk_CheckNode(component);
    return ok;
}

int chk_CheckAllModels(ModelRecord* models)
{
    if (!gbAllowChecking)
        return 0;
    int failed = 0;
    for (ModelRecord* m = models; m != NULL; m = m->next) failed += !chk_CheckModel(m);
    return failed;
}

int chk_CheckAllComponents(ComponentRecord* components)
{
    if (!gbAllowChecking)
        return 0;
    int failed = 0;
    for (ComponentRecord* c = components; c != NULL; c = c->next) failed += !chk_CheckComponent(c);
    return failed;
}

int chk_CheckAllSubModels(SubmodelRecord* submodels)
{
    if (!gbAllowChecking)
        return 0;
    int failed = 0;
    for (SubmodelRecord* s = submodels; s != NULL; s = s->next) failed += !chk_CheckSubModel(s);
    return failed;
}

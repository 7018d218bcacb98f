// [Series Pin Mapping] rows: two pins joined through a series model or a
// model selector, with a function_table_group for series switches.
#include "spinmpg.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "ibis.h"
#include "rowlist.h"

#include <unordered_map>
#include <vector>

#define CMN_MODULE_PATH "IbisParser/spinmpg"

static RowAppender<SeriesPinMappingRecord> s_appender(nullptr);

int SPINMPG_ParseLine(char* text, int headerColumns, SeriesPinMappingRecord** out)
{
    CMN_ASSERT(text != nullptr && out != nullptr);
    *out = nullptr;
    ARG_LIST args;
    SeriesPinMappingRecord* row = RowStart<SeriesPinMappingRecord>(text, 4, &args, {2619});
    if (row == nullptr) return 0;
    char** tok = args.psArgs;
    int n = args.iCount;
    if (args.iTotal > 4) ERRLOG_LineErrorNew(2600);
    if (n < 1) ERRLOG_LineErrorNew(2601);
    else CMN_SetStr(row->pin1, tok[0], 5, "Pin1");
    if (n < 2) ERRLOG_LineErrorNew(2602);
    else CMN_SetStr(row->pin2, tok[1], 5, "Pin2");
    if (n < 3) {
        ERRLOG_LineErrorNew(2603);
    } else {
        CMN_SetStr(row->modelName, tok[2], (unsigned)CMPNT_NameLimit(), "Model");
        CMN_ReservedWordErr(row->modelName);
    }
    if (n >= 4) {
        CMN_SetStr(row->functionGroup, tok[3], 20, "Function group Name");
        CMN_ReservedWordErr(row->functionGroup);
    }
    row->columns = n;
    if (n < 3 || n > 4) ERRLOG_LineErrorNew(2604);
    else if (n == 4 && headerColumns < 4) ERRLOG_LineErrorNew(2605);
    CMN_ArgFree(&args);
    *out = row;
    return 1;
}

void SPINMPG_LinkSpinMpg(SeriesPinMappingRecord** head, SeriesPinMappingRecord* row)
{
    CMN_ASSERT(head != nullptr && row != nullptr);
    s_appender.Append(head, row);
}

// What the check of one model of a row needs of the model: its kind.
enum { MODEL_UNKNOWN, MODEL_OTHER, MODEL_SERIES, MODEL_SWITCH };

static int s_KindOf(const char* model)
{
    int type = 0;
    if (!CMPNT_ModelTypeOf(model, &type)) return MODEL_UNKNOWN;
    if (type == CMPNT_TYPE_SERIES) return MODEL_SERIES;
    if (type == CMPNT_TYPE_SERIES_SWITCH) return MODEL_SWITCH;
    return MODEL_OTHER;
}

// The check of one model of a row; selector is null when the row names the
// model itself.  defined tells whether a switch group names the row's group.
static void s_TestModel(const char* component, const char* selector, const char* model, int kind,
                        const char* group, bool defined)
{
    switch (kind) {
    case MODEL_UNKNOWN:
        if (selector) ERRLOG_ErrorNew(2630, component, selector, model);
        else ERRLOG_ErrorNew(2631, component, model);
        break;
    case MODEL_OTHER:
        if (group[0] != '\0') {
            if (selector) ERRLOG_ErrorNew(2620, component, selector, model);
            else ERRLOG_ErrorNew(2621, component, model);
        } else {
            if (selector) ERRLOG_ErrorNew(2622, component, selector, model);
            else ERRLOG_ErrorNew(2623, component, model);
        }
        break;
    case MODEL_SERIES:
        if (group[0] != '\0') {
            if (selector) ERRLOG_WarnNew(2624, component, selector, model, group);
            else ERRLOG_WarnNew(2625, component, model, group);
        }
        break;
    default:
        if (group[0] == '\0') {
            if (selector) ERRLOG_ErrorNew(2626, component, selector, model);
            else ERRLOG_ErrorNew(2627, component, model);
        } else if (!defined) {
            if (selector) ERRLOG_ErrorNew(2628, component, selector, model, group);
            else ERRLOG_ErrorNew(2629, component, model, group);
        }
        break;
    }
}

// The models a selector lists, with their kinds, and those that give a
// message for a row without a group (all but Series) and for a row whose
// group is defined (all but Series_switch); a row whose group is not defined
// gets one for every model.  Made once per selector, so that rows naming a
// selector of many models visit only the models they report.
namespace {
struct Listed {
    const char* name;
    int kind;
};
struct SelectorModels {
    std::vector<Listed> all;
    std::vector<size_t> noGroup, definedGroup;
};
typedef std::unordered_map<const ModelSelectorRecord*, SelectorModels> SelectorModelMap;
}   // namespace

// Kept from SPINMPG_BeginChecks to SPINMPG_EndChecks, over the components.
static SelectorModelMap* s_shared;
static int s_depth;

void SPINMPG_BeginChecks(void)
{
    if (s_depth++ == 0) s_shared = new SelectorModelMap;
}

void SPINMPG_EndChecks(void)
{
    if (s_depth == 0 || --s_depth != 0) return;
    delete s_shared;
    s_shared = nullptr;
}

static const SelectorModels& s_ModelsOf(SelectorModelMap& map, ModelSelectorRecord* selector)
{
    auto found = map.find(selector);
    if (found != map.end()) return found->second;
    SelectorModels& m = map[selector];
    ModelSelectorEntry* e = nullptr;
    for (const char* name; (name = CMPNT_MselNextModel(selector, &e)) != nullptr;) {
        int kind = s_KindOf(name);
        if (kind != MODEL_SERIES) m.noGroup.push_back(m.all.size());
        if (kind != MODEL_SWITCH) m.definedGroup.push_back(m.all.size());
        m.all.push_back(Listed{name, kind});
    }
    return m;
}

void SPINMPG_TestList(SeriesPinMappingRecord* rows, PinRecord* pins, const char* componentName,
                      SwitchGroupRecord* groups)
{
    CMN_ASSERT(rows != nullptr && componentName != nullptr);
    IBIS* ibis = nullptr;
    if (!IBIS_GetIBIS(&ibis)) {
        ERRLOG_BugNew(2606, CMN_MODULE_PATH, __LINE__);
        return;
    }
    if (pins == nullptr) {
        ERRLOG_ErrorNew(2618, componentName);
        return;
    }
    NameIndex<PinRecord> pinOf(pins, PIN_NameOf);
    NameCount functions;
    for (SwitchGroupRecord* g = groups; g != nullptr; g = g->next)
        for (int i = 0; i < g->nameCount; i++) functions.Add(g->names[i], g);
    SelectorModelMap own;
    SelectorModelMap& listed = s_shared != nullptr ? *s_shared : own;
    for (SeriesPinMappingRecord* r = rows; r != nullptr; r = r->next) {
        if (pinOf.Find(r->pin1) == nullptr) ERRLOG_ErrorNew(2607, componentName, r->pin1);
        if (pinOf.Find(r->pin2) == nullptr) ERRLOG_ErrorNew(2611, componentName, r->pin2);
        const char* group = r->functionGroup;
        bool defined = group[0] != '\0' && functions.Has(group);
        if (CMPNT_FindModel(r->modelName) != nullptr) {
            s_TestModel(componentName, nullptr, r->modelName, s_KindOf(r->modelName), group,
                        defined);
            continue;
        }
        ModelSelectorRecord* selector = CMPNT_FindMsel(r->modelName);
        if (selector == nullptr) {
            ERRLOG_ErrorNew(2617, componentName, r->modelName);
            continue;
        }
        const SelectorModels& m = s_ModelsOf(listed, selector);
        if (group[0] != '\0' && !defined) {
            for (const Listed& l : m.all)
                s_TestModel(componentName, r->modelName, l.name, l.kind, group, defined);
            continue;
        }
        for (size_t i : group[0] == '\0' ? m.noGroup : m.definedGroup)
            s_TestModel(componentName, r->modelName, m.all[i].name, m.all[i].kind, group, defined);
    }
}

void SPINMPG_FreeList(SeriesPinMappingRecord* rows) { s_appender.FreeList(rows); }

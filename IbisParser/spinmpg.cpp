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

// The check of one model of a row; selector is null when the row names the
// model itself.
static void s_TestModel(SeriesPinMappingRecord* row, const char* component, const char* selector,
                        const char* model, SwitchGroupRecord* groups)
{
    int type = 0;
    if (!CMPNT_ModelTypeOf(model, &type)) {
        if (selector) ERRLOG_ErrorNew(2630, component, selector, model);
        else ERRLOG_ErrorNew(2631, component, model);
        return;
    }
    const char* group = row->functionGroup;
    if (type != CMPNT_TYPE_SERIES && type != CMPNT_TYPE_SERIES_SWITCH) {
        if (group[0] != '\0') {
            if (selector) ERRLOG_ErrorNew(2620, component, selector, model);
            else ERRLOG_ErrorNew(2621, component, model);
        } else {
            if (selector) ERRLOG_ErrorNew(2622, component, selector, model);
            else ERRLOG_ErrorNew(2623, component, model);
        }
    } else if (type == CMPNT_TYPE_SERIES) {
        if (group[0] != '\0') {
            if (selector) ERRLOG_WarnNew(2624, component, selector, model, group);
            else ERRLOG_WarnNew(2625, component, model, group);
        }
    } else if (group[0] == '\0') {
        if (selector) ERRLOG_ErrorNew(2626, component, selector, model);
        else ERRLOG_ErrorNew(2627, component, model);
    } else if (!SSWCH_HasFunction(groups, group)) {
        if (selector) ERRLOG_ErrorNew(2628, component, selector, model, group);
        else ERRLOG_ErrorNew(2629, component, model, group);
    }
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
    for (SeriesPinMappingRecord* r = rows; r != nullptr; r = r->next) {
        if (pinOf.Find(r->pin1) == nullptr) ERRLOG_ErrorNew(2607, componentName, r->pin1);
        if (pinOf.Find(r->pin2) == nullptr) ERRLOG_ErrorNew(2611, componentName, r->pin2);
        if (CMPNT_FindModel(r->modelName) != nullptr) {
            s_TestModel(r, componentName, nullptr, r->modelName, groups);
            continue;
        }
        ModelSelectorRecord* selector = CMPNT_FindMsel(r->modelName);
        if (selector == nullptr) {
            ERRLOG_ErrorNew(2617, componentName, r->modelName);
            continue;
        }
        const char* entry = nullptr;
        for (int i = 0; (entry = CMPNT_MselModelName(selector, i)) != nullptr; i++)
            s_TestModel(r, componentName, r->modelName, entry, groups);
    }
}

void SPINMPG_FreeList(SeriesPinMappingRecord* rows) { s_appender.FreeList(rows); }

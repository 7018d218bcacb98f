// [Diff Pin] rows: a pin, its inverting partner, vdiff and the typ/min/max
// delay between the two; the checks that both pins exist and that no pin
// serves two pairs.
#include "difpin.h"

#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"
#include "rowlist.h"

#define CMN_MODULE_PATH "IbisParser/difpin"

static RowAppender<DiffPinRecord> s_appender(nullptr);

// "NA" is kept as state 2, so that a missing delay is never taken for 0.
static void s_Value(const char* token, const char* column, double* value, int* state)
{
    int isNA = 0;
    switch (CMN_Get_ValueOrNA(token, value, &isNA)) {
    case 0:
        ERRLOG_LineErrorNew(816, column);
        *value = 0;
        *state = 0;
        return;
    case 2:
        ERRLOG_LineWarnNew(817, column);
        *state = 1;
        return;
    default:
        *state = isNA ? 2 : 1;
        return;
    }
}

int DIFPIN_ParseLine(char* text, int headerColumns, DiffPinRecord** out)
{
    CMN_ASSERT(text != nullptr && out != nullptr);
    *out = nullptr;
    DiffPinRecord* row = nullptr;
    if (!CMN_malloc((void**)&row, sizeof(DiffPinRecord))) {
        ERRLOG_LineErrorNew(800);
        return 0;
    }
    ARG_LIST args;
    if (!CMN_ArgParse(text, 6, &args)) {
        if (args.psArgs != nullptr) CMN_ArgFree(&args);
        free(row);
        ERRLOG_LineErrorNew(800);
        return 0;
    }
    char** tok = args.psArgs;
    int n = args.iCount;
    if (args.iTotal > 6) ERRLOG_LineErrorNew(801);
    if (n < 1) ERRLOG_LineErrorNew(802);
    else CMN_SetStr(row->pinName, tok[0], 5, "Diff_Pin column");
    if (n < 2) {
        ERRLOG_LineErrorNew(803);
    } else {
        CMN_SetStr(row->invPinName, tok[1], 5, "inv_pin column");
        if (strcmp(tok[0], tok[1]) == 0) ERRLOG_LineErrorNew(804);
    }
    if (n < 3) ERRLOG_LineErrorNew(805);
    if (n < 4) ERRLOG_LineErrorNew(806);
    static const char* const columns[4] = {"vdiff", "tdelay_typ", "tdelay_min", "tdelay_max"};
    double* values[4] = {&row->vdiff, &row->tdelay_typ, &row->tdelay_min, &row->tdelay_max};
    int* states[4] = {&row->vdiffState, &row->tdelay_typState, &row->tdelay_minState,
                      &row->tdelay_maxState};
    for (int i = 0; i < 4 && i + 2 < n; i++) s_Value(tok[i + 2], columns[i], values[i], states[i]);
    if (row->tdelay_typState == 1 && row->tdelay_minState == 1 && row->tdelay_maxState == 1) {
        double typ = row->tdelay_typ;
        if ((typ < row->tdelay_min && typ < row->tdelay_max) ||
            (typ > row->tdelay_min && typ > row->tdelay_max))
            ERRLOG_LineWarnNew(807);
    }
    row->columns = n;
    if (n != 4 && n != 6) ERRLOG_LineErrorNew(808);
    else if (n == 6 && headerColumns < 6) ERRLOG_LineErrorNew(809);
    CMN_ArgFree(&args);
    *out = row;
    return 1;
}

void DIFPIN_LinkDIFPIN(DiffPinRecord** head, DiffPinRecord* row)
{
    CMN_ASSERT(head != nullptr && row != nullptr);
    s_appender.Append(head, row);
}

void DIFPIN_TestList(DiffPinRecord* rows, PinRecord* pins, const char* componentName)
{
    CMN_ASSERT(rows != nullptr && componentName != nullptr);
    if (pins != nullptr) {
        for (DiffPinRecord* r = rows; r != nullptr; r = r->next) {
            if (!PIN_PinExists(pins, r->pinName)) ERRLOG_ErrorNew(810, componentName, r->pinName);
            if (!PIN_PinExists(pins, r->invPinName))
                ERRLOG_ErrorNew(811, componentName, r->invPinName);
        }
    }
    for (DiffPinRecord* a = rows; a != nullptr; a = a->next) {
        for (DiffPinRecord* b = a->next; b != nullptr; b = b->next) {
            if (strcmp(a->pinName, b->pinName) == 0) ERRLOG_WarnNew(812, componentName, a->pinName);
            if (strcmp(a->pinName, b->invPinName) == 0)
                ERRLOG_ErrorNew(813, componentName, a->pinName);
            if (strcmp(a->invPinName, b->pinName) == 0)
                ERRLOG_ErrorNew(814, componentName, a->invPinName);
            if (strcmp(a->invPinName, b->invPinName) == 0)
                ERRLOG_WarnNew(815, componentName, a->invPinName);
        }
    }
}

void DIFPIN_FreeList(DiffPinRecord* rows)
{
    s_appender.Forget();
    while (rows != nullptr) {
        DiffPinRecord* next = rows->next;
        free(rows);
        rows = next;
    }
}

// The four delays of a [Driver Schedule] line and their rules.
#include "dly.h"

#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"

#define CMN_MODULE_PATH "IbisParser/dly"

static const char* const kColumns[4] = {"Rise_on_dly", "Rise_off_dly", "Fall_on_dly",
                                        "Fall_off_dly"};

int DLY_ParseDly(const char* text, const char* modelName, DelaySet** out)
{
    CMN_ASSERT(text != nullptr && modelName != nullptr && out != nullptr);
    ARG_LIST a;
    if (!CMN_ArgParse(text, 4, &a)) {
        ERRLOG_LineBugNew(4500, modelName, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    if (a.iTotal >= 1 && a.iTotal <= 3)
        ERRLOG_LineErrorNew(4501, kColumns[a.iTotal], modelName);
    else if (a.iTotal != 4)
        ERRLOG_LineErrorNew(4502, a.iTotal, modelName, 4);
    DelaySet* d = nullptr;
    if (!CMN_malloc((void**)&d, sizeof(DelaySet))) {
        ERRLOG_BugNew(4503, CMN_MODULE_PATH, __LINE__);
        CMN_ArgFree(&a);
        return 0;
    }
    *out = d;
    DelayValue* cols[4] = {&d->Rise_on_dly, &d->Rise_off_dly, &d->Fall_on_dly, &d->Fall_off_dly};
    int valid = 1;
    for (int i = 0; i < 4; i++) {
        int state = 0;
        double value = 0.0;
        if (!CMN_GetColValue(i < a.iCount ? a.psArgs[i] : nullptr, modelName, kColumns[i], &value,
                             &state))
            valid = 0;
        cols[i]->value = state == 1 ? value : 0.0;
        cols[i]->state = (uint32_t)state;
    }
    CMN_ArgFree(&a);
    if (!valid) return 0;
    int n = 0;
    for (DelayValue* c : cols) n += c->state == 1;
    if (n < 2) {
        ERRLOG_LineErrorNew(4504);
        return 0;
    }
    int result = 1;
    if (n < 4) {
        if (d->Rise_on_dly.state == 1 && d->Fall_off_dly.state == 1) {
            ERRLOG_LineErrorNew(4505, "Rise_on_dly", "Fall_off_delay");
            result = 0;
        }
        if (d->Rise_off_dly.state == 1 && d->Fall_on_dly.state == 1) {
            ERRLOG_LineErrorNew(4505, "Rise_off_dly", "Fall_on_delay");
            result = 0;
        }
    }
    for (int i = 0; i < 4; i++)
        if (cols[i]->state == 1 && cols[i]->value < 0) ERRLOG_LineErrorNew(4506, kColumns[i]);
    return result;
}

void DLY_Free(DelaySet* d) { free(d); }

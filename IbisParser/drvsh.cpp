// [Driver Schedule]: the scheduled models of a multi-stage driver, and the
// whole-file check that they exist and may be scheduled.
#include "drvsh.h"

#include <stdlib.h>
#include <string.h>

#include <string>
#include <unordered_set>

#include "cmn.h"
#include "errlog.h"
#include "mdl.h"
#include "parse.h"
#include "rng.h"

#define CMN_MODULE_PATH "IbisParser/drvsh"

unsigned long gDrvshBeginLine;

// Names already in the schedule being read, so that a repeated name is
// found without a walk over the schedule per line.
static const DriverSchedule* s_namesOwner;
static std::unordered_set<std::string>* s_names;

static void s_ForgetNames(void)
{
    s_namesOwner = nullptr;
    if (s_names != nullptr) s_names->clear();
}

void DRVSH_Reset(void)
{
    gDrvshBeginLine = 0;
    s_ForgetNames();
}

int DRVSH_New(const char* text, DriverSchedule** field, int previousKeyword)
{
    CMN_ASSERT(text != nullptr && field != nullptr);
    (void)previousKeyword;
    if (*field != nullptr) {
        ERRLOG_LineErrorNew(4200);
        DriverSchedule* old = *field;
        *field = nullptr;
        DRVSH_Free(old);
    }
    s_ForgetNames();
    if (!CMN_malloc((void**)field, sizeof(DriverSchedule))) {
        *field = nullptr;
        ERRLOG_BugNew(4201, CMN_MODULE_PATH, __LINE__);
        return 0;
    }
    RNG_CheckKeywordLine(text, "Driver Schedule", 4202, 4203, 4204);
    gDrvshBeginLine = PARSE_GetLineNum();
    return 1;
}

// Whether the name was seen before in this schedule; remembers it.
static int s_Repeated(const DriverSchedule* schedule, const char* name)
{
    if (s_names == nullptr) s_names = new (std::nothrow) std::unordered_set<std::string>();
    if (s_names == nullptr) return 0;
    if (s_namesOwner != schedule) {
        s_names->clear();
        s_namesOwner = schedule;
        for (const DriverScheduleEntry* e = schedule->first; e != nullptr; e = e->next)
            s_names->insert(e->modelName);
    }
    return !s_names->insert(name).second;
}

DriverScheduleEntry* DRVSH_ReceiveLine(const char* text, DriverSchedule* schedule,
                                       const char* modelName)
{
    CMN_ASSERT(text != nullptr && schedule != nullptr && modelName != nullptr);
    DriverScheduleEntry* e = nullptr;
    if (!CMN_malloc((void**)&e, sizeof(DriverScheduleEntry))) {
        ERRLOG_LineErrorNew(4216);
        return nullptr;
    }
    ARG_LIST a;
    if (!CMN_ArgParse(text, 1, &a)) {
        ERRLOG_ErrorNew(4210);
    } else {
        if (a.iTotal == 0) {
            ERRLOG_LineErrorNew(4211);
        } else {
            const char* name = a.psArgs[0];
            size_t limit = geFileVersion < 4 ? 20 : 40;
            if (strlen(name) > limit) {
                ERRLOG_LineErrorNew(4212, (int)limit);
            } else if (strcmp(name, modelName) == 0) {
                ERRLOG_LineErrorNew(4213, name);
            } else if (!CMN_ReservedWord(name)) {
                ERRLOG_LineErrorNew(4214, name);
            }
            CMN_strncpy(e->modelName, name, limit);
            if (s_Repeated(schedule, e->modelName)) ERRLOG_LineErrorNew(4215, e->modelName);
        }
        CMN_ArgFree(&a);
    }
    if (e->modelName[0] != '\0') {
        const char* rest = text;
        while (*rest && !CMN_IsWhitespace((unsigned char)*rest)) rest++;
        while (*rest && CMN_IsWhitespace((unsigned char)*rest)) rest++;
        DLY_ParseDly(rest, e->modelName, &e->delays);
    }
    e->next = schedule->first;
    schedule->first = e;
    return e;
}

void DRVSH_Fini(DriverSchedule* schedule, const char* modelName)
{
    CMN_ASSERT(schedule != nullptr && modelName != nullptr);
    if (schedule->first == nullptr)
        ERRLOG_ErrorNew(4205, modelName);
    else if (schedule->first->next == nullptr)
        ERRLOG_WarnNew(4206, modelName);
    s_ForgetNames();
}

void DRVSH_Free(DriverSchedule* schedule)
{
    if (schedule == nullptr) return;
    if (schedule == s_namesOwner) s_ForgetNames();
    for (DriverScheduleEntry* e = schedule->first; e != nullptr;) {
        DriverScheduleEntry* next = e->next;
        DLY_Free(e->delays);
        free(e);
        e = next;
    }
    free(schedule);
}

void DRVSH_Test(ModelRecord* models)
{
    for (ModelRecord* m = models; m != nullptr; m = m->next) {
        if (m->DriverSchedule == nullptr) continue;
        for (DriverScheduleEntry* e = m->DriverSchedule->first; e != nullptr; e = e->next) {
            ModelRecord* target = MDL_FindModel(e->modelName, models);
            if (target == nullptr) {
                ERRLOG_ErrorNew(4207, e->modelName, m->name);
                continue;
            }
            target->referenced = 1;
            if (target->DriverSchedule != nullptr) ERRLOG_ErrorNew(4208, e->modelName, m->name);
            int t = target->Model_type;
            if (t == MDL_INPUT_ECL || t == MDL_INPUT || t == MDL_TERMINATOR || t == MDL_SERIES ||
                t == MDL_SERIES_SWITCH)
                ERRLOG_ErrorNew(4209, e->modelName, m->name);
        }
    }
}

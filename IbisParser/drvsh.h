// [Driver Schedule]: the models a multi-stage driver switches with delays.
#ifndef IBISPARSER_DRVSH_H
#define IBISPARSER_DRVSH_H

#include "dly.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

typedef struct DriverScheduleEntry {
    struct DriverScheduleEntry* next;   // newest first
    char modelName[41];
    DelaySet* delays;                   // null when the line had no model name
} DriverScheduleEntry;

typedef struct DriverSchedule {
    DriverScheduleEntry* first;
} DriverSchedule;

extern unsigned long gDrvshBeginLine;

int DRVSH_New(const char* text, DriverSchedule** field, int previousKeyword);
DriverScheduleEntry* DRVSH_ReceiveLine(const char* text, DriverSchedule* schedule,
                                       const char* modelName);
void DRVSH_Fini(DriverSchedule* schedule, const char* modelName);
void DRVSH_Free(DriverSchedule* schedule);
void DRVSH_Test(ModelRecord* models);
void DRVSH_Reset(void);

#ifdef __cplusplus
}
#endif

#endif

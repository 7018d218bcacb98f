// [Series MOSFET]: a Vds line followed by an I-V table.
#ifndef IBISPARSER_SMOS_H
#define IBISPARSER_SMOS_H

#include "crv.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

typedef struct SeriesMosfetRecord {
    double* Vds;
    CurveRecord* table;
    struct SeriesMosfetRecord* next;
} SeriesMosfetRecord;

extern SeriesMosfetRecord* gCurrentSmos;
extern unsigned long gCurrentSmosBeginLine;
extern int gbFirstLine;

int SMOS_New(const char* keywordLine, SeriesMosfetRecord** list, SeriesMosfetRecord** made);
void SMOS_ReceiveLine(const char* text);
int SMOS_Fini(const ModelRecord* model, int keywordCode);
void SMOS_TestList(const SeriesMosfetRecord* list, const char* modelName, const char* label);
void SMOS_FreeList(SeriesMosfetRecord* list);
// Drops the current record; its lines arriving later are ignored.
void SMOS_Reset(void);

#ifdef __cplusplus
}
#endif

#endif

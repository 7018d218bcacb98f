// [Begin EMI Model] ... [End EMI Model]: a model's EMI class.
#ifndef IBISPARSER_MDLEMI_H
#define IBISPARSER_MDLEMI_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

typedef struct ModelEmiRecord {
    int Domain;           // 0 absent, 1 Analog, 2 Digital
    int Model_emi_type;   // 0 absent, 1 Ferrite, 2 Not_a_ferrite
} ModelEmiRecord;

extern unsigned long gMdlemiBeginLine;

int MDLEMI_New(const char* text, ModelEmiRecord** field, int previousKeyword);
void MDLEMI_ReceiveLine(const char* text, ModelEmiRecord* record);
void MDLEMI_Fini(ModelRecord* model);
void MDLEMI_Free(ModelEmiRecord* record);
void MDLEMI_Reset(void);

#ifdef __cplusplus
}
#endif

#endif

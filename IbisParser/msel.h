// [Model Selector]: a name that a [Pin] row may use in place of a model,
// with the models that a simulator may choose from.
#ifndef IBISPARSER_MSEL_H
#define IBISPARSER_MSEL_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelSelectorEntry {
    struct ModelSelectorEntry* next;
    char name[41];
    char descriptor[81];   // at most 80 minus the length of name
} ModelSelectorEntry;

typedef struct ModelSelectorRecord {
    struct ModelSelectorRecord* next;
    ModelSelectorEntry* models;   // file order
    char name[41];
    // 2 until checked; then 0 when the first listed model is differential,
    // else 1.
    int singleEnded;
} ModelSelectorRecord;

void MSEL_Init(void);
void MSEL_AddLink(ModelSelectorRecord* rec, ModelSelectorRecord* next);
void MSEL_ReceiveLine(int lineKind, int keywordCode, char* text);
void MSEL_Fini(void);
// Forgets the selector being read.
void MSEL_Reset(void);
int MSEL_NameExists(const char* name, ModelSelectorRecord* list);
ModelSelectorRecord* MSEL_FindMsel(const char* name, ModelSelectorRecord* list);
int MSEL_GetLastLink(ModelSelectorRecord** p);
int MSEL_FreeList(ModelSelectorRecord* first);
void MSEL_TestList(ModelSelectorRecord* list);

#ifdef __cplusplus
}
#endif

#endif

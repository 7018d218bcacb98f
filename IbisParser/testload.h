// [Test Load]: the load circuit that [Test Data] waveforms were taken with.
#ifndef IBISPARSER_TESTLOAD_H
#define IBISPARSER_TESTLOAD_H

#include "rng.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TestLoadRecord {
    struct TestLoadRecord* next;
    char name[110];
    int Test_load_type;   // 0 not given, 1 no valid type, 2 Single_ended, 3 Differential
    double* C1_near;
    double* Rs_near;
    double* Ls_near;
    double* C2_near;
    double* Rp1_near;
    double* Rp2_near;
    double* Td;
    double* Zo;
    double* Rp1_far;
    double* Rp2_far;
    double* C2_far;
    double* Ls_far;
    double* Rs_far;
    double* C1_far;
    TypMinMax* V_term1;
    TypMinMax* V_term2;
    double* R_diff_near;
    double* R_diff_far;
    char Receiver_model[41];
    char Receiver_model_inv[41];
} TestLoadRecord;

int TESTLOAD_New(TestLoadRecord** out);
void TESTLOAD_Init(void);
void TESTLOAD_ReceiveLine(int lineKind, int keywordCode, const char* text);
void TESTLOAD_Fini(void);
// Forgets the test load being read.
void TESTLOAD_Reset(void);
int TESTLOAD_NameExists(const char* name, const TestLoadRecord* list);
// The first test load of the list with exactly that name (the newest one of
// a container's list, found through its index), or null.
const TestLoadRecord* TESTLOAD_Find(const char* name, const TestLoadRecord* list);
void TESTLOAD_TestList(const TestLoadRecord* list);
void TESTLOAD_AddLink(TestLoadRecord* t, TestLoadRecord* next);
void TESTLOAD_Free(TestLoadRecord* t);
void TESTLOAD_FreeList(TestLoadRecord* list);

#ifdef __cplusplus
}
#endif

#endif

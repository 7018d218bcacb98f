// [Test Data]: golden waveforms of a driver into a named [Test Load].
#ifndef IBISPARSER_TESTDATA_H
#define IBISPARSER_TESTDATA_H

#include "wvfrm.h"

#ifdef __cplusplus
extern "C" {
#endif

// The golden waveforms, in the order of TestDataRecord's slots.
enum {
    TD_RISING_NEAR, TD_FALLING_NEAR, TD_RISING_FAR, TD_FALLING_FAR,
    TD_DIFF_RISING_NEAR, TD_DIFF_FALLING_NEAR, TD_DIFF_RISING_FAR, TD_DIFF_FALLING_FAR,
    TD_GOLDEN_COUNT
};

typedef struct TestDataRecord {
    struct TestDataRecord* next;
    char name[110];
    int Test_data_type;   // 0 not given, 1 no valid type, 2 Single_ended, 3 Differential
    char Driver_model[41];
    char Driver_model_inv[41];
    char Test_load[111];
    WaveformRecord* golden[TD_GOLDEN_COUNT];   // null when absent
} TestDataRecord;

int TESTDATA_New(TestDataRecord** out);
void TESTDATA_Init(void);
void TESTDATA_ReceiveLine(int lineKind, int keywordCode, const char* text);
void TESTDATA_Fini(int nextKeywordCode);
// Forgets the test data being read.
void TESTDATA_Reset(void);
// Whether test data of exactly that name is in the list (a container's
// list through its index).
int TESTDATA_NameExists(const char* name, const TestDataRecord* list);
void TESTDATA_TestList(const TestDataRecord* list);
void TESTDATA_AddLink(TestDataRecord* t, TestDataRecord* next);
void TESTDATA_Free(TestDataRecord* t);
void TESTDATA_FreeList(TestDataRecord* list);

#ifdef __cplusplus
}
#endif

#endif

// Container of everything read from one file, its stack, and the
// read-and-check pass: INIT, PARSE, TEST, FINI.
#ifndef IBISPARSER_IBIS_H
#define IBISPARSER_IBIS_H

#include "hdr.h"

#ifdef __cplusplus
extern "C" {
#endif

// Records of the keyword modules; each module defines its own.
typedef struct ComponentRecord ComponentRecord;
typedef struct ModelRecord ModelRecord;
typedef struct ExternalCircuitRecord ExternalCircuitRecord;
typedef struct SubmodelRecord SubmodelRecord;
typedef struct PackageModelRecord PackageModelRecord;
typedef struct BoardDescriptionRecord BoardDescriptionRecord;
typedef struct ModelSelectorRecord ModelSelectorRecord;
typedef struct TestDataRecord TestDataRecord;
typedef struct TestLoadRecord TestLoadRecord;

// Message counters when a pass started, for the totals of that pass.
typedef struct {
    unsigned long bugs, errors, warns, cautions;
} IBIS_PASS_COUNTS;

// Each list holds its records newest first.
typedef struct IBIS {
    struct IBIS* next;                  // container below on the stack
    HeaderRecord* headers;
    ComponentRecord* components;
    ModelRecord* models;
    ExternalCircuitRecord* externalCircuits;
    SubmodelRecord* submodels;
    PackageModelRecord* packageModels;
    BoardDescriptionRecord* boardDescriptions;
    ModelSelectorRecord* modelSelectors;
    TestDataRecord* testData;
    TestLoadRecord* testLoads;
    IBIS_PASS_COUNTS passStart;
    struct IBIS_Names* names;           // the lists' indexes by name (nameidx.h), made on first use
} IBIS;

extern IBIS* gpIbis;

// The pass.
int INIT(void);
// The name is parenthesised so that a test framework's TEST macro, when
// included first, leaves it alone.
void(TEST)(int fileType, int flag);
int FINI(void);

int IBIS_New(void);
int IBIS_GetIBIS(IBIS** out);
// The indexes by name of the container's lists, made on first use.
struct IBIS_Names* IBIS_NamesOf(IBIS* ibis);
void IBIS_Free(IBIS* ibis);
void IBIS_Test(void);
void EBD_Test(int flag);

// Getters: 1 and the list head when the list is not empty, else 0 with *out
// untouched.
int IBIS_GetHdrs(IBIS* ibis, HeaderRecord** out);
int IBIS_GetCmpnts(IBIS* ibis, ComponentRecord** out);
int IBIS_GetExts(IBIS* ibis, ExternalCircuitRecord** out);
int IBIS_GetMdls(IBIS* ibis, ModelRecord** out);
int IBIS_GetPkgMdls(IBIS* ibis, PackageModelRecord** out);
int IBIS_GetEbdMdls(IBIS* ibis, BoardDescriptionRecord** out);
int IBIS_GetMsels(IBIS* ibis, ModelSelectorRecord** out);
int IBIS_GetSubMdls(IBIS* ibis, SubmodelRecord** out);
int IBIS_GetTestData(IBIS* ibis, TestDataRecord** out);
int IBIS_GetTestLoad(IBIS* ibis, TestLoadRecord** out);

// Adders: the record is linked in front of its list through its module's
// link operation.  The adder of each further list (IBIS_AddCmpnt,
// IBIS_AddExt, IBIS_AddMdl, IBIS_AddPkgMdl, IBIS_AddEbdMdl, IBIS_AddMsel,
// IBIS_AddSubMdl, IBIS_AddTestData, IBIS_AddTestLoad) comes with the module
// that owns the record and its link operation, together with its release
// in IBIS_Free and its checks in IBIS_Test.
void IBIS_AddHdr(IBIS* ibis, HeaderRecord* rec);
void IBIS_AddCmpnt(IBIS* ibis, ComponentRecord* rec);
void IBIS_AddMdl(IBIS* ibis, ModelRecord* rec);
void IBIS_AddPkgMdl(IBIS* ibis, PackageModelRecord* rec);
void IBIS_AddEbdMdl(IBIS* ibis, BoardDescriptionRecord* rec);
void IBIS_AddExt(IBIS* ibis, ExternalCircuitRecord* rec);
void IBIS_AddMsel(IBIS* ibis, ModelSelectorRecord* rec);
void IBIS_AddSubMdl(IBIS* ibis, SubmodelRecord* rec);
void IBIS_AddTestData(IBIS* ibis, TestDataRecord* rec);
void IBIS_AddTestLoad(IBIS* ibis, TestLoadRecord* rec);

#ifdef __cplusplus
}
#endif

#endif

// [Model]: the model record with its sub-parameters and keyword sections,
// the end-of-model rules and the model look-ups of the later checks.
#ifndef IBISPARSER_MDL_H
#define IBISPARSER_MDL_H

#include "algmod.h"
#include "crv.h"
#include "drvsh.h"
#include "extern.h"
#include "mdlemi.h"
#include "mspec.h"
#include "ramp.h"
#include "rcvth.h"
#include "rng.h"
#include "sinfo.h"
#include "wvfrm.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SubmodelRecord SubmodelRecord;
typedef struct AlgorithmicModelEntry AlgorithmicModelEntry;

// Model-type codes (the io_types table); 0 means not given.
enum {
    MDL_TYPE_NONE = 0, MDL_NO_TYPE = 1, MDL_INPUT = 2, MDL_OUTPUT = 3, MDL_IO = 4,
    MDL_3STATE = 5, MDL_OPEN_DRAIN = 6, MDL_IO_OPEN_DRAIN = 7, MDL_OPEN_SINK = 8,
    MDL_IO_OPEN_SINK = 9, MDL_OPEN_SOURCE = 10, MDL_IO_OPEN_SOURCE = 11,
    MDL_INPUT_ECL = 12, MDL_OUTPUT_ECL = 13, MDL_IO_ECL = 14, MDL_TERMINATOR = 15,
    MDL_SERIES = 16, MDL_SERIES_SWITCH = 17, MDL_3STATE_ECL = 18, MDL_IO_DIFF = 19,
    MDL_OUTPUT_DIFF = 20, MDL_3STATE_DIFF = 21, MDL_INPUT_DIFF = 22
};

// One [Add Submodel] line.
typedef struct AddSubmodelEntry {
    char name[21];
    int mode;                         // 0 Driving, 1 Non-Driving, 2 All, 3 absent
    struct AddSubmodelEntry* next;    // file order
} AddSubmodelEntry;

// One [Model]; a null pointer means the item was not given.
typedef struct ModelRecord {
    struct ModelRecord* next;
    char name[41];
    int Model_type;
    int Polarity;                     // 0 absent, 1 no valid word, 2 Non-Inverting, 3 Inverting
    int Enable;                       // 0 absent, 1 no valid word, 2 Active-High, 3 Active-Low
    double* Vinl;
    double* Vinh;
    TypMinMax* C_comp;
    TypMinMax* C_comp_pullup;
    TypMinMax* C_comp_pulldown;
    TypMinMax* C_comp_power_clamp;
    TypMinMax* C_comp_gnd_clamp;
    double* Vmeas;
    double* Cref;
    double* Rref;
    double* Vref;
    double* Cref_diff;
    double* Rref_diff;
    TypMinMax* TempRange;
    TypMinMax* VoltageRange;
    TypMinMax* PullupRef;
    TypMinMax* PulldownRef;
    TypMinMax* PowerClampRef;
    TypMinMax* GndClampRef;
    TypMinMax* ExternalRef;
    TypMinMax* TTgnd;
    TypMinMax* TTpower;
    struct DriverSchedule* DriverSchedule;
    ModelSpecRecord* ModelSpec;
    ReceiverThresholdsRecord* RcvThresholds;
    SeriesInfoRecord* On;             // also the one series record of a Series model
    SeriesInfoRecord* Off;
    AddSubmodelEntry* AddSubmodel;
    CurveRecord* Pulldown;
    CurveRecord* Pullup;
    CurveRecord* GndClamp;
    CurveRecord* PowerClamp;
    TypMinMax* Rgnd;
    TypMinMax* Rpower;
    TypMinMax* Rac;
    TypMinMax* Cac;
    RampRecord* Ramp;
    WaveformRecord* RisingWaveform;
    WaveformRecord* FallingWaveform;
    ExternalModelData* ExternalModel;
    AlgorithmicModelEntry** AlgorithmicModel;
    CurveRecord* ISSO_PU;
    CurveRecord* ISSO_PD;
    ModelEmiRecord* Emi;
    int referenced;                   // set by every look-up by name
    int singleEnded;                  // 2 at creation, 0 once used on a differential pin
} ModelRecord;

// Module state shared with the external-circuit code.
extern ModelRecord* gCurrentModel;
extern int gCurrentKeyword;
extern SeriesInfoRecord* gCurrentSeries;
extern WaveformRecord* gLastRiseFallParsed;

int MDL_New(ModelRecord** out);
void MDL_Init(void);
void MDL_AddLink(ModelRecord* model, ModelRecord* next);
void MDL_ReceiveLine(int lineKind, int keywordCode, char* text);
void MDL_Fini(int nextCode);
// Forgets the model being read and every current section, so that nothing
// of a freed container is touched by a later read.
void MDL_Reset(void);
// The end-of-model rules of one model, as its section's end runs them.
void MDL_EndModel(ModelRecord* model);
void MDL_Free(ModelRecord* m);
void MDL_FreeList(ModelRecord* first);

// Look-ups by exact name.  In a container's whole model list they go through
// the container's index (IBIS_Names::models), which finds the newest model of
// a name as a walk from the head does; another list is walked.
int MDL_NameExists(const char* name, ModelRecord* list);
ModelRecord* MDL_FindModel(const char* name, ModelRecord* list);
int MDL_GetType(ModelRecord* list, const char* name, int* type);
void MDL_FindTypeName(int type, const char** name);
int MDL_isSubModel(const ModelRecord* m, const SubmodelRecord* s);

void MDL_TestSubMdls(ModelRecord* models, SubmodelRecord* submodels);
void MDL_TestSubMdlReferences(ModelRecord* models, SubmodelRecord* submodels);
void MDL_TestMdlReference(ModelRecord* models);
// How the algmod module's file checks read a model.
const ALGMOD_MODEL_VIEW* MDL_AlgmodView(void);

#ifdef __cplusplus
}
#endif

#endif

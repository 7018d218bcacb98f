// [Component] and every keyword that belongs to a component: the record,
// the keyword lines, the hand-over of data lines to the keyword modules,
// the end-of-component checks and the cross-checks after the file was read.
#ifndef IBISPARSER_CMPNT_H
#define IBISPARSER_CMPNT_H

#include "apkg.h"
#include "circuit.h"
#include "cmpntemi.h"
#include "difpin.h"
#include "node.h"
#include "pin.h"
#include "pinmpg.h"
#include "pkg.h"
#include "spinmpg.h"
#include "sswch.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;
typedef struct ExternalCircuitRecord ExternalCircuitRecord;

struct ComponentRecord {
    struct ComponentRecord* next;
    char name[41];
    char manufacturer[41];
    PackageRecord* package;
    int pinColumns;   // 0 no [Pin] yet, else 1 + the headings on its line
    PinRecord* pins;
    char packageModel[41];
    int pinMappingColumns;
    PinMappingRecord* pinMappings;
    int diffPinColumns;
    DiffPinRecord* diffPins;
    int siLocation;       // 0 not given, 1 bad value, 2 Die, 3 Pin
    int timingLocation;
    SwitchGroupRecord* switchGroups;
    int seriesPinMappingColumns;
    SeriesPinMappingRecord* seriesPinMappings;
    AltPackageEntry* altPackages;
    NodeNameEntry* nodes;              // newest first
    CircuitCallRecord* circuitCalls;   // newest first
    ComponentEmiRecord* emi;
};

extern ComponentRecord* gpCmpnt;
extern int gbFoundManufacturer;
extern int giPinRlcOrder[3];

void CMPNT_Init(void);
void CMPNT_ReceiveLine(int lineKind, int keywordCode, char* text);
void CMPNT_Fini(int nextCode);
// Forgets the component being read and the keyword state, so that nothing
// of a freed container is touched by a later read.
void CMPNT_Reset(void);
void CMPNT_AddLink(ComponentRecord* rec, ComponentRecord* next);
void CMPNT_TestList(ComponentRecord* components, ExternalCircuitRecord* externalCircuits,
                    ModelRecord* models);
int CMPNT_FreeList(ComponentRecord* list);
int CMPNT_IsDifferentialPinModel(ModelRecord* model, PinRecord** pinOut);

// Shared by the component modules.
// Longest name of a model or of a name in a row: 20 characters below
// version 4, 40 from version 4 on.
int CMPNT_NameLimit(void);

// Look-ups into the container's models, model selectors and package models
// for the component checks.  A model found by name is marked referenced.
typedef struct ModelSelectorRecord ModelSelectorRecord;
enum { CMPNT_TYPE_SERIES = 16, CMPNT_TYPE_SERIES_SWITCH = 17 };
ModelRecord* CMPNT_FindModel(const char* name);
int CMPNT_ModelType(ModelRecord* model);
// 1 and *type when the container has a model of that name.
int CMPNT_ModelTypeOf(const char* name, int* type);
int CMPNT_ModelIsDifferential(ModelRecord* model);
typedef struct ModelSelectorEntry ModelSelectorEntry;
ModelSelectorRecord* CMPNT_FindMsel(const char* name);
int CMPNT_MselIsDifferential(ModelSelectorRecord* selector);
// The models a selector lists, in file order: a null *entry gives the first
// one's name, each further call the next one's; null past the last.
const char* CMPNT_MselNextModel(ModelSelectorRecord* selector, ModelSelectorEntry** entry);
// Sets a selector's single-ended state (the model-selector check's verdict),
// so that the differential-pin look-up knows it may have to mark it again.
void CMPNT_SetMselSingleEnded(ModelSelectorRecord* selector, int singleEnded);
// Drops the indexes kept over components and selectors; called whenever
// either changes, so that no index outlives what it describes.
void CMPNT_ForgetIndexes(void);
// Pin names of a package model's [Pin Numbers] list, one per call: first 1
// restarts the walk.  0 when there is no further name.
int CMPNT_PackagePinNumber(const char* packageModel, int first, char** pinName);

#ifdef __cplusplus
}
#endif

#endif

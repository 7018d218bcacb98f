// Range checks after a read: package and pin parasitics, die capacitances
// and ramp times out of their plausible ranges, drivers without the DC
// table of one of their states, duplicate node names, and waveforms whose
// composite-current tables do not share their time points.
#ifndef IBISPARSER_CHK_H
#define IBISPARSER_CHK_H

#include "ramp.h"
#include "rng.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;
typedef struct SubmodelRecord SubmodelRecord;
typedef struct ComponentRecord ComponentRecord;
typedef struct PackageRecord PackageRecord;
typedef struct PinRecord PinRecord;
typedef struct NodeNameEntry NodeNameEntry;

// The gate of every check of this module (1 at load); returns the new gate.
int chk_SetCheckGate(int flag);

// 0 with the gate off; else the number of records whose check failed.
int chk_CheckAllModels(ModelRecord* models);
int chk_CheckAllComponents(ComponentRecord* components);
int chk_CheckAllSubModels(SubmodelRecord* submodels);

// 1 when passed (or with the gate off), 0 when failed.
int chk_CheckModel(ModelRecord* model);
int chk_CheckComponent(ComponentRecord* component);
int chk_CheckSubModel(SubmodelRecord* submodel);
int chk_CheckModelRange(ModelRecord* model);
int chk_CheckSubModelRange(SubmodelRecord* submodel);
int chk_CheckModelCurves(ModelRecord* model);
int chk_CheckModelWaves(ModelRecord* model);
int chk_CheckPackage(PackageRecord* package, const char* componentName);
int chk_CheckPin(PinRecord* pin, const char* componentName);
int chk_CheckNode(ComponentRecord* component);
int chk_UniqueNode(ComponentRecord* component, NodeNameEntry* node, NodeNameEntry* rest);
int chk_RngValIsInRange(const TypMinMax* range, int code, const char* name, double lo, double hi,
                        double scale);
int chk_RngValMinMax(const TypMinMax* range, int code, const char* name);
int chk_RampLineIsInRange(const RampRatioSet* rampSet, const char* edge, const char* name,
                          const char* kind, double limit);

#ifdef __cplusplus
}
#endif

#endif

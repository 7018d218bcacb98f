// DC/AC consistency checks: the I-V tables of a model, combined as the pin
// sees them, must be monotonic; the DC end levels of its waveforms must
// agree with what the tables give under the waveform's fixture; the tables
// must drive the test load through Vmeas; clamp currents must stay sane;
// open-drain and open-source sides carry no current; [ISSO PU]/[ISSO PD]
// agree with [Pullup]/[Pulldown].
#ifndef IBISPARSER_ACDC_H
#define IBISPARSER_ACDC_H

#include "crv.h"
#include "wvfrm.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;
typedef struct SubmodelRecord SubmodelRecord;

// The gate of the list checks (1 at load); returns the new gate.
int acdc_SetCheckGate(int flag);

// 0 with the gate off; else the number of models that failed.
int acdc_CheckAllModels(ModelRecord* models);
// 1 passed, 0 failed.
int acdc_CheckModel(ModelRecord* model);
int acdc_CheckModelProcess(ModelRecord* model, int corner);
int acdc_CheckModelProcessWave(ModelRecord* model, int corner, const WaveformRecord* wave,
                               CurveRecord* pulldownSum, CurveRecord* pullupSum, int rising);
int acdc_CheckModelProcessTestLoad(ModelRecord* model, int corner, CurveRecord* pulldownSum,
                                   CurveRecord* pullupSum);
// Operating point of an I-V curve loaded by r to vSource, the crossing
// nearest vHint: 1 with *v and *i, or 0.
int acdc_VI_Given_VIC_VR(CurveRecord* curve, int corner, double* v, double* i, double vSource,
                         double r, double vHint);
// Crossing of i = m1 v + b1 and i = m2 v + b2: 1 with *v and *i, or 0 for
// parallel lines.
int acdc_Interesction(double* v, double* i, double m1, double b1, double m2, double b2);
int acdc_CheckShuntCurrents(ModelRecord* model);
int acdc_CurrentNotExcessive(CurveRecord* curve, const char* name, const char* label, double v,
                             double limit);
int acdc_CheckOpenEndedCurrents(ModelRecord* model);
// 1 when some value of the curve is not 0.0.
int acdc_CurrentNotZero(const CurveRecord* curve);
int acdc_checkIsso(ModelRecord* model, int corner);
// 0 with the gate off; else the clamp checks with dynamic-clamp submodels
// for every corner; 0.
int acdc_CheckAllSubModels(ModelRecord* models, SubmodelRecord* submodels);
int acdc_CheckSubModelClamps(ModelRecord* models, SubmodelRecord* submodels, int corner);
int acdc_CheckSubModel(SubmodelRecord* submodel);
int acdc_CheckSubModelProcess(SubmodelRecord* submodel, int corner);
int acdc_CheckModelProcessCurves(ModelRecord* model, int corner);
// Writes "x,y" lines of one corner of a curve to prefix + name + "_typ.csv"
// ("_min.csv", "_max.csv"; nothing for another corner).  The result of
// closing the file, or EOF when nothing was written.
int DumpCrvCsv(const CurveRecord* curve, int corner, const char* prefix, const char* name);

#ifdef __cplusplus
}
#endif

#endif

// [Receiver Thresholds] of a model, and the check that a receiver has the
// thresholds its pins need.
#ifndef IBISPARSER_RCVTH_H
#define IBISPARSER_RCVTH_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

// Each field null while not given; no corners.
typedef struct ReceiverThresholdsRecord {
    double* Vth;
    double* Vth_min;
    double* Vth_max;
    double* Vinh_ac;
    double* Vinh_dc;
    double* Vinl_ac;
    double* Vinl_dc;
    double* Threshold_sensitivity;
    char* Reference_supply;
    double* Vcross_low;
    double* Vcross_high;
    double* Vdiff_ac;
    double* Vdiff_dc;
    double* Tslew_ac;
    double* Tdiffslew_ac;
} ReceiverThresholdsRecord;

int RCVTH_New(const char* keywordLine, ReceiverThresholdsRecord** slot);
void RCVTH_ReceiveLine(const char* text, ReceiverThresholdsRecord* r, const char* modelName);
// End of the keyword: Reference_supply required with Threshold_sensitivity.
void RCVTH_FiniCore(const ReceiverThresholdsRecord* r, const char* modelName);
// Thresholds a receiver needs: the differential ones when diffPinName is not
// null (the pin that uses the model), else the single-ended ones.
void RCVTH_CheckOne(const ReceiverThresholdsRecord* r, const char* modelName,
                    const char* diffPinName);
// Defined by the model module over the two cores above.
void RCVTH_Fini(const ModelRecord* model);
void RCVTH_Check(const ModelRecord* models);
void RCVTH_Free(ReceiverThresholdsRecord* r);

#ifdef __cplusplus
}
#endif

#endif

// Waveforms: every V-t table of the reader ([Rising Waveform], [Falling
// Waveform], [Composite Current], the pulse tables of a submodel and the
// golden waveforms of a [Test Data]) with its fixture values.
#ifndef IBISPARSER_WVFRM_H
#define IBISPARSER_WVFRM_H

#include "rngp.h"

#ifdef __cplusplus
extern "C" {
#endif

// The kind that WVFRM_Fini checks a table as.
enum {
    WVFRM_KIND_WAVEFORM = 0,    // model or submodel waveform: "Rising", "Falling"
    WVFRM_KIND_PULSE = 1,       // "GND Pulse Table", "POWER Pulse Table"
    WVFRM_KIND_GOLDEN = 2,      // golden waveform, by its keyword name
    WVFRM_KIND_COMPOSITE = 3    // "Composite Current"
};

typedef struct WaveformRecord {
    struct WaveformRecord* next;   // next waveform of the same list
    double* R_fixture;             // each value null while not given
    double* V_fixture;
    double* V_fixture_min;
    double* V_fixture_max;
    double* C_fixture;
    double* L_fixture;
    double* R_dut;
    double* L_dut;
    double* C_dut;
    RangePoint* table;             // x: time; corners: the values
    struct WaveformRecord* composite_current;
} WaveformRecord;

int WVFRM_New(const char* keywordLine, WaveformRecord** list, const char* name);
void WVFRM_ReceiveLine(const char* text, const char* name);
void WVFRM_Fini(const char* name, int kind);
// Drops the current waveform and its begin line.
void WVFRM_Reset(void);
// The last record of the list at *list (null for an empty list), without
// walking a list that WVFRM_New appended to.
WaveformRecord* WVFRM_Last(WaveformRecord** list);
int WVFRM_Compare(const WaveformRecord* wave, const WaveformRecord* composite, int index,
                  const char* modelName, const char* edgeWord);
// Frees the whole list with every record's values, table and composite
// current list.
void WVFRM_Free(WaveformRecord* list);

#ifdef __cplusplus
}
#endif

#endif

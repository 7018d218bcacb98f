// One coupling matrix of a package model: [Resistance Matrix],
// [Inductance Matrix] or [Capacitance Matrix], with its type and [Bandwidth].
#ifndef IBISPARSER_MTX_H
#define IBISPARSER_MTX_H

#include "row.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { MTX_UNKNOWN = 0, MTX_BANDED = 1, MTX_BANDED_WRAP = 2, MTX_SPARSE = 3, MTX_FULL = 4 };

typedef struct PackageMatrix {
    unsigned eMatrixType;
    unsigned Number_of_Pins;
    unsigned bandwidthGiven;
    unsigned Bandwidth;
    MatrixRowList rows;
} PackageMatrix;

void MTX_New(PackageMatrix** slot, const char* typeText, unsigned numberOfPins);
void MTX_SetBandwidth(PackageMatrix* m, const char* text);
void MTX_AddRow(PackageMatrix* m, const char* pinName);
void MTX_AddRowData(PackageMatrix* m, char* text);
void MTX_Fini(void);
// Drops the matrix being read without its end checks (a new read begins).
void MTX_Reset(void);
// The matrix being read, or null.
PackageMatrix* MTX_Current(void);
void MTX_Test(const char* kindName, PackageMatrix* m);
void MTX_Free(PackageMatrix* m);

// Queries on the matrix being read, for its banded rows.
int MTX_GetRowCount(unsigned* count);
int MTX_GetBandwidth(unsigned* bandwidth);
int MTX_IsBandedTypeWrap(void);
int MTX_SetBandedTypeToWrap(unsigned newColumnCount);

#ifdef __cplusplus
}
#endif

#endif

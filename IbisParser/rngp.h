// Range points: one table row (a first column and three corner columns) and
// the doubly linked lists of rows that carry every I-V table, V-t table and
// waveform.
#ifndef IBISPARSER_RNGP_H
#define IBISPARSER_RNGP_H

#include <stdint.h>

#include "rng.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RangePoint {
    struct RangePoint* next;   // following row, null at the tail
    struct RangePoint* prev;   // preceding row, null at the head
    double x_value;            // Voltage, or Time
    uint32_t x_state;
    double typ_value;
    uint32_t typ_state;
    double min_value;
    uint32_t min_state;
    double max_value;
    uint32_t max_state;
} RangePoint;

int RNGP_New(RangePoint** out);
// 1 when the point was made (bad values are reported and left absent), 0
// when splitting or allocation failed.
int RNGP_ParseLine(const char* text, const char* tableName, const char* xColumnName,
                   RangePoint** out);
// Appends point at the tail of *head; *count and the result are the number of
// points now in the list.  With checkRepeats, warning 1403 once when an
// earlier row's x is the same number.  Finds the tail by walking: a table
// built row by row uses an RNGP_Appender instead.
int RNGP_LinkLine(RangePoint** head, RangePoint* point, int* count, int checkRepeats);
int RNGP_Prev(const RangePoint* point, RangePoint** out);
void RNGP_FreeList(RangePoint* first);

// End-of-table check shared by curves and waveforms: error code (position,
// column, name, beginLine) for "First" then "Last" rows whose Typical is NA,
// and whose Minimum or Maximum is NA while some row holds a number there.
// first must not be null.
void RNGP_ReportNAEnds(const RangePoint* first, int code, const char* name,
                       unsigned long beginLine);

// Builds one table row by row in constant time per row: keeps the tail, the
// count and, for the repeat check, the first-column numbers met.  It holds
// pointers into the table, so it lives only while that table is read: end
// it before the table can be freed or reordered.
typedef struct RNGP_Appender {
    RangePoint** head;   // the table's head slot; null when not started
    RangePoint* tail;
    int count;
    void* repeats;       // the distinct x numbers, made on first use
    int order;           // how the x numbers linked so far run (rngp)
    double last;         // the last x number linked
} RNGP_Appender;

// Starts on the table at *head (which may already hold rows: they are
// counted, and their numeric x values entered for the repeat check).
void RNGP_AppenderStart(RNGP_Appender* a, RangePoint** head);
// Links point at the tail, giving warning 1403 once when an earlier row's
// x is the same number and checkRepeats is set; returns the new count.
int RNGP_Append(RNGP_Appender* a, RangePoint* point, int checkRepeats);
// Forgets the table; the appender may be started again.
void RNGP_AppenderEnd(RNGP_Appender* a);

#ifdef __cplusplus
}
#endif

#endif

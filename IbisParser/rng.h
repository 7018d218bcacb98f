// Typ/min/max ranges: one line of three corner values (typical, minimum,
// maximum), each absent, a number or "NA".
#ifndef IBISPARSER_RNG_H
#define IBISPARSER_RNG_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// State beside every corner value the reader stores.
enum {
    RNG_ABSENT = 0,   // no token was given; value 0.0
    RNG_NUMBER = 1,   // the value holds the number read
    RNG_NA = 2        // "NA"; value 0.0
};

typedef struct TypMinMax {
    double typ_value;
    uint32_t typ_state;
    double min_value;
    uint32_t min_state;
    double max_value;
    uint32_t max_state;
} TypMinMax;

// Parses the text after an item's name into a new record in *out.  1 when
// all three columns are valid (a number, "NA" or absent), else 0; the record
// stays in *out either way (null only after an allocation failure).
int RNG_ParseRange(const char* text, const char* itemName, TypMinMax** out);
void RNG_Free(TypMinMax* r);

#ifdef __cplusplus
}
#endif

#endif

// Typ/min/max ranges: one line of three corner values (typical, minimum,
// maximum), each absent, a number or "NA".
#ifndef IBISPARSER_RNG_H
#define IBISPARSER_RNG_H

#include <stdint.h>

#include "cmn.h"

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

// Shared by the modules that read corner columns.

// Reports a line of found tokens where expected were wanted, the last three
// being the typ, min and max corners: none or too many give countCode
// (found, name, expected); too few give missingCode ("typical", "minimum"
// or "maximum", name) once for each corner not given.
void RNG_ReportCount(int found, int expected, int missingCode, int countCode, const char* name);

// Splits text into args (max slots, extra as a separator token of its own,
// see CMN_ArgParsePlus).  A failed split gives line bug bugCode (name,
// module, line) and 0 with nothing left to free; else 1, and the caller
// frees args with CMN_ArgFree.
int RNG_Split(const char* text, int max, char extra, int bugCode, const char* name,
              ARG_LIST* args);

// A sub-parameter table: {name, id} rows ended by id 0, matched exactly.
typedef struct {
    const char* name;
    int32_t id;
} RNG_SUB_ENTRY;

// Id of the first token of text (split at blanks, tabs and '=') in table:
// 0 when it is none of the names.  The token is compared where it lies, so
// nothing can fail.
int RNG_FirstTokenId(const char* text, const RNG_SUB_ENTRY* table);

// Checks a table keyword's line, which takes nothing after its bracketed
// keyword: no ']' gives line bug bugCode (module, line), a failed count bug
// splitCode (name, module, line), any token line error countCode (tokens + 1,
// name, 1).
void RNG_CheckKeywordLine(const char* keywordLine, const char* name, int bugCode,
                          int splitCode, int countCode);

// Splits a "name = value" line at blanks, tabs and '=' into args (three
// slots).  A failed split gives line bug splitCode (name, module, line); one
// or two tokens, or a second token other than "=", give line error
// invalidCode (name); more than three give line error countCode (count, name,
// 3) and the first three are used.  Returns 1 with args holding the tokens
// (the value is args->psArgs[2]; free them with CMN_ArgFree), or 0 with
// nothing left to free.
int RNG_SplitAssignment(const char* text, const char* name, int splitCode, int invalidCode,
                        int countCode, ARG_LIST* args);

// Reads the value of a "name = value" line (split as RNG_SplitAssignment
// does) as a number with scale into *value: 1 when read.  An unparsable value
// gives line error badCode (name, token); a digit in the scale gives line
// warning scaleCode (scaleWhat, scaleName, token) unless scaleCode is 0, and
// the value counts.
int RNG_ReadAssignment(const char* text, const char* name, int splitCode, int invalidCode,
                       int countCode, int badCode, int scaleCode, const char* scaleWhat,
                       const char* scaleName, double* value);

#ifdef __cplusplus
}
#endif

#endif

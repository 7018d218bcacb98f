// Line shapes shared by the keyword modules of model selectors, submodels,
// test data and test loads (and [Model Spec] for its corner lines): the name
// on a keyword line, a sub-parameter that takes one word of a table, and a
// sub-parameter that takes a name.
#ifndef IBISPARSER_SUBPARM_H
#define IBISPARSER_SUBPARM_H

#include "cmn.h"
#include "rng.h"

#ifdef __cplusplus
extern "C" {
#endif

// One row of a sub-parameter or keyword-value table; a table ends with a
// row whose id the caller names (0 for sub-parameters, 1 "No Type").
typedef RNG_SUB_ENTRY SUBPARM_ENTRY;

// The id of the row named exactly word, or endId.
int SUBPARM_Find(const SUBPARM_ENTRY* table, int endId, const char* word);
// The table's spelling of word when only case differs, or null.
const char* SUBPARM_FindIC(const SUBPARM_ENTRY* table, int endId, const char* word);

// Splits text at blanks and tabs (and, with eq set, at '=', which becomes a
// token of its own) into at most max tokens, max at least 1.  0 when the
// split failed; nothing is then left to release.
int SUBPARM_Split(const char* text, int max, int eq, ARG_LIST* list);
void SUBPARM_Free(ARG_LIST* list);

// The id of the sub-parameter that a data line begins with (its first word
// ends at a blank, a tab or '='; subs ends with id 0), or 0 after the
// unknown-line error (unknown).
int SUBPARM_LineId(const char* text, const SUBPARM_ENTRY* subs, int unknown);

// Message codes of a keyword line that carries one name.
typedef struct {
    const char* countLabel;  // keyword in the item-count message
    const char* eatLabel;    // keyword in the missing-']' bug; null: none
    int eatBug;              // "Unable to eat keyword <%s>: %s %d"
    int splitError;          // "Unable to Save ... Name"
    int missing;             // "... Keyword Missing name"
    int count;               // "Incorrect Number of Line Items (%d) For Keyword %s: Expecting %d"
    int tooLong;             // "... Name Over %d Characters Long"
    int reserved;            // "Invalid ... Name ("%s"); Reserved Word."
    int stopWhenCut;         // a cut name is tested no further
} SUBPARM_NAME_CODES;

// Stores the name that follows the bracketed keyword of line into dst (limit
// characters at most, dst holding limit + 1) with the messages of codes.  1
// when the caller should go on and test the name for a duplicate.
int SUBPARM_KeywordName(const char* line, char* dst, unsigned limit,
                        const SUBPARM_NAME_CODES* codes);

// Message codes of a sub-parameter line "<name> <value>".
typedef struct {
    int splitBug;     // "Unable to Parse %s: %s %d"
    int missing;      // "'%s' Subparameter Missing Setting"
    int invalidLine;  // "Invalid %s Line"
    int count;        // "Incorrect Number of Line Items (%d) For %s: Expecting %d"
    int tryWord;      // "Invalid %s ("%s") (try "%s")"
    int invalid;      // "Invalid %s ("%s")"
    int tooLong;      // "%s Name Over %d Characters Long"
    int reserved;     // "Invalid %s ("%s"); Reserved Word."
} SUBPARM_VALUE_CODES;

// A sub-parameter whose value is one word of table: *type becomes 1 ("given,
// no valid type") and then the word's id when it matches exactly.
void SUBPARM_TypeWord(const char* text, const char* subName, const SUBPARM_ENTRY* table,
                      const SUBPARM_VALUE_CODES* codes, int* type);

// A sub-parameter whose value is a name: stored into dst, cut to limit.
void SUBPARM_NameValue(const char* text, const char* subName, char* dst, unsigned limit,
                       const SUBPARM_VALUE_CODES* codes);

// "<name> <typ> <min> <max>": the three corners after the line's first word
// into a new record in *slot; a typ of "NA" gives naCode (value kept).
void SUBPARM_Range(const char* text, const char* subName, TypMinMax** slot, int naCode);

#ifdef __cplusplus
}
#endif

#endif

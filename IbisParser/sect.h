// One R/L/C section of a package pin's section list or of a board path:
// "Len", "R", "L" and "C" values up to a '/'.
#ifndef IBISPARSER_SECT_H
#define IBISPARSER_SECT_H

#ifdef __cplusplus
extern "C" {
#endif

// Each pointer is null when its value was not given; the values live in the
// record's own block, so one free releases everything.
typedef struct RlcSection {
    double* Len;
    double* L;
    double* R;
    double* C;
    double store[4];
} RlcSection;

// Reads one section from text.  1: *section is the new section, or null when
// the text holds no token; 0: the text ended inside a section (all values
// dropped).  *next is left past the section's '/' and its blanks.
int SECT_ParseSection(const char* text, char** next, RlcSection** section);
void SECT_Free(RlcSection* s);

#ifdef __cplusplus
}
#endif

#endif

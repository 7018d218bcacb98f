// Package models: [Define Package Model] to [End Package Model] of an .ibs
// or .pkg file, with their pin lists, coupling matrices and per-pin section
// chains; and the chain helpers that board paths share.
#ifndef IBISPARSER_PKGMDL_H
#define IBISPARSER_PKGMDL_H

#include <stddef.h>
#include <stdint.h>

#include "mtx.h"
#include "sect.h"

#ifdef __cplusplus
extern "C" {
#endif

// One link of a pin's section chain or of a board path.  A Fork stands where
// its branch leaves; the chain goes on after its Endfork through its next.
enum { SECT_ELEM_FORK = 0, SECT_ELEM_SECTION = 1 };

typedef struct SectionElement {
    struct SectionElement* next;
    unsigned kind;
    void* payload;   // a section: its RlcSection; a Fork: the branch's first element
} SectionElement;

// The open Forks of the chain being read, innermost last.
typedef struct ForkStack {
    SectionElement** forks;
    unsigned count;
    unsigned capacity;
} ForkStack;

int PKGMDL_ForkPush(ForkStack* s, SectionElement* fork);
SectionElement* PKGMDL_ForkPop(ForkStack* s);
SectionElement* PKGMDL_ForkTop(const ForkStack* s);
void PKGMDL_ForkClear(ForkStack* s);

// Links e after *current: as the chain's head when *current is null, as the
// first element of a branch just opened (the Fork on top of forks), else as
// *current's next.  e then becomes *current.
void PKGMDL_LinkElement(SectionElement** head, SectionElement** current, const ForkStack* forks,
                        SectionElement* e);
// Visits every element of a chain and of its branches at any depth, in file
// order, without recursion.  visit returns 0 to stop.
void PKGMDL_WalkChain(SectionElement* head, int (*visit)(SectionElement* e, void* ctx), void* ctx);
// Frees a chain with its branches, each element's payload through
// freePayload (a Fork's branch is freed with the chain).
void PKGMDL_FreeChain(SectionElement* head, void (*freePayload)(SectionElement* e));

// Grows an array of *capacity slots of size bytes so that it holds need
// slots: geometrically, never beyond limit slots, new slots zeroed.  0, the
// array unchanged, when that is not possible.
int PKGMDL_GrowSlots(void** array, unsigned* capacity, uint64_t need, unsigned limit, size_t size);

// Warns of a name that holds '=' or '/' or that is a word of the section
// syntax ("Len", "Fork", "Endfork", "C", "R", "L"): one code for each.
void PKGMDL_NameWarnings(const char* name, int equalsCode, int slashCode, int wordCode);

// Next blank- or tab-separated token of *cursor, terminated in place, or
// null at the end of the text.
char* PKGMDL_NextToken(char** cursor);

// A keyword that stands alone on its line and may occur once: duplicateCode
// for a second one, extraCode for text after it; word names it.
void PKGMDL_FlagKeyword(int* found, const char* word, const char* text, int duplicateCode,
                        int extraCode);
// Reads a count keyword's value into *value (a leading '-' leaves it); 0
// after badCode when the text holds no number.
int PKGMDL_ReadCount(const char* text, unsigned* value, int suspiciousCode, int badCode, int zeroCode);

typedef struct PackageModelRecord {
    struct PackageModelRecord* next;
    char name[41];
    char Manufacturer[41];
    char OEM[41];
    char Description[61];
    unsigned Number_of_Pins;
    unsigned Number_of_Sections;
    // Pins in file order: the first uiPinCount slots are filled.  The arrays
    // hold uiPinCapacity slots and grow as pins arrive, up to Number_of_Pins.
    char** pinNames;
    SectionElement** pinSections;   // sectioned models: each pin's chain
    unsigned uiPinCount;
    unsigned uiPinCapacity;
    PackageMatrix* Resistance;
    PackageMatrix* Inductance;
    PackageMatrix* Capacitance;
} PackageModelRecord;

void PKGMDL_Init(void);
void PKGMDL_AddLink(PackageModelRecord* rec, PackageModelRecord* next);
int PKGMDL_GetLastLink(PackageModelRecord** p);
void PKGMDL_ReceiveLine(int lineType, int keywordCode, char* text);
void PKGMDL_Fini(int nextKeywordCode);
// Forgets the model, matrix and row being read and the open Forks.
void PKGMDL_Reset(void);
int PKGMDL_FindPackageModel(PackageModelRecord* list, const char* name, PackageModelRecord** found);
int PKGMDL_GetPin_Number(PackageModelRecord* list, const char* modelName, int first, char** pinName);
int PKGMDL_GetPinIndex(const char* pinName, unsigned* index);
void PKGMDL_TestList(PackageModelRecord* list);
int PKGMDL_FreeList(PackageModelRecord* list);

// Reads, into the top container, every .pkg file beside the .ibs file that
// defines the package model; 1 when a file was read.  Between two calls of
// PKGMDL_ResetPkgSearch the folder is listed once (again only when the
// folder of the file last opened changes), each file is looked into once
// and read at most once.
int PKGMDL_FindPkgFile(const char* modelName);
void PKGMDL_ResetPkgSearch(void);

#ifdef __cplusplus
}
#endif

#endif

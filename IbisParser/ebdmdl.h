// Board descriptions of .ebd files: [Begin Board Description] to
// [End Board Description], with the pin list, the electrical paths and the
// reference-designator map; and the board check that follows each
// reference into the file it names.
#ifndef IBISPARSER_EBDMDL_H
#define IBISPARSER_EBDMDL_H

#include "pkgmdl.h"

#ifdef __cplusplus
extern "C" {
#endif

// Element kinds of a board path (a Fork is SECT_ELEM_FORK).
enum { EBD_ELEM_FORK = 0, EBD_ELEM_NODE = 1, EBD_ELEM_PIN = 2, EBD_ELEM_SECTION = 3, EBD_ELEM_NC = 4 };

typedef struct BoardPin {
    char name[9];
    char signal_name[21];
} BoardPin;

// The payload of a Node: a reference designator and a pin.
typedef struct BoardNode {
    char refdes[11];
    char pin[9];
} BoardNode;

typedef struct BoardPath {
    struct BoardPath* next;
    char name[41];
    SectionElement* elements;
} BoardPath;

typedef struct ReferenceDesignator {
    struct ReferenceDesignator* next;   // older entry
    char name[11];
    char file[45];
    char component[41];
    unsigned fileValid;
    unsigned componentValid;
} ReferenceDesignator;

typedef struct BoardDescriptionRecord {
    struct BoardDescriptionRecord* next;
    char name[41];
    char Manufacturer[41];
    unsigned Number_of_Pins;
    // Pins in file order: the first uiPinCount slots are filled; the array
    // holds uiPinCapacity slots and grows as pins arrive.
    BoardPin** pins;
    unsigned uiPinCount;
    unsigned uiPinCapacity;
    BoardPath* paths;       // file order
    BoardPath* lastPath;
    ReferenceDesignator* refDesMap;   // newest first
} BoardDescriptionRecord;

void EBDMDL_Init(void);
void EBDMDL_AddLink(BoardDescriptionRecord* rec, BoardDescriptionRecord* next);
int EBDMDL_GetLastLink(BoardDescriptionRecord** p);
int EBDMDL_FindEbdModel(BoardDescriptionRecord* list, const char* name, BoardDescriptionRecord** found);
void EBDMDL_ReceiveLine(int lineType, int keywordCode, char* text);
void EBDMDL_Fini(int nextKeywordCode);
// Forgets the board, path and element being read and the open Forks.
void EBDMDL_Reset(void);
// The board check of one file; noRefTest 1 opens no other file.
void EBDMDL_TestList(BoardDescriptionRecord* list, int noRefTest);
int EBDMDL_AllowRefTesting(int on);
int EBDMDL_FreeList(BoardDescriptionRecord* list);

#ifdef __cplusplus
}
#endif

#endif

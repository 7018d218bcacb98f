// [Algorithmic Model] of a [Model]: its Executable lines, the check that
// the files they name exist, and the checker of AMI parameter files.
#ifndef IBISPARSER_ALGMOD_H
#define IBISPARSER_ALGMOD_H

#include <stdint.h>

#include "ami.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ModelRecord ModelRecord;

#define ALGMOD_NAME_LEN 44

// The holder of one checked parameter file's tree: every entry that names
// the file in one run of ALGMOD_Test holds the same tree, which is freed
// with the last of them.
typedef struct ALGMOD_TreeShare ALGMOD_TreeShare;

// One Executable line; a list keeps the newest entry first.
typedef struct AlgorithmicModelEntry {
    struct AlgorithmicModelEntry* next;    // older entry
    char platform[ALGMOD_NAME_LEN + 1];
    char compiler[ALGMOD_NAME_LEN + 1];
    int bits;                              // -1 until parsed
    char codeFile[ALGMOD_NAME_LEN + 1];
    char amiFile[ALGMOD_NAME_LEN + 1];
    PTREE tree;                            // the checked parameter file, read only
    ALGMOD_TreeShare* share;               // what holds tree; one reference is the entry's
} AlgorithmicModelEntry;

// Sub-parameters of an Executable line's section, ended by code 0.
typedef struct {
    const char* name;
    int32_t code;
} ALGMOD_SUB;
extern const ALGMOD_SUB algmod_subs[];

// The keyword line: a new, empty list in *head (an older list of the same
// model is reported and freed).  0 when the list could not be allocated.
int ALGMOD_New(char* text, AlgorithmicModelEntry*** head);
// One data line of the section.
void ALGMOD_ReceiveLine(char* text, AlgorithmicModelEntry** head);
// The checks at the end of the section.
void ALGMOD_Fini(AlgorithmicModelEntry** head);
// Frees every entry, its tree with the last entry that holds it, and the
// list head; null does nothing.
void ALGMOD_Free(AlgorithmicModelEntry** head);
// The file checks of every model in the list that has an [Algorithmic Model].
// A parameter file named by several entries is read and checked once; each
// later entry gives the same messages again and holds the same tree.
void ALGMOD_Test(ModelRecord* models);

// What ALGMOD_Test reads of a model: the model module supplies it, the only
// module that knows ModelRecord's fields.  Until one is set ALGMOD_Test
// checks nothing.
typedef struct {
    ModelRecord* (*Next)(ModelRecord* model);
    const char* (*Name)(ModelRecord* model);
    AlgorithmicModelEntry** (*List)(ModelRecord* model);   // null: no keyword
} ALGMOD_MODEL_VIEW;
void ALGMOD_SetModelView(const ALGMOD_MODEL_VIEW* view);

// Checks the AMI parameter file text that PARSE left in gsBuffer, then
// releases the text and the tree.
void AMI_Test(void);

#ifdef __cplusplus
}
#endif

#endif

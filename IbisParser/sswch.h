// [Series Switch Groups] of a component: groups of switch function names,
// each opened by On or Off and closed by '/', possibly over several lines.
#ifndef IBISPARSER_SSWCH_H
#define IBISPARSER_SSWCH_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SeriesPinMappingRecord SeriesPinMappingRecord;

typedef struct SwitchGroupRecord {
    struct SwitchGroupRecord* next;
    char state[4];
    char** names;      // nameCount owned strings of at most 20 characters
    int nameCount;
} SwitchGroupRecord;

int SSWCH_ParseLine(char* text, SwitchGroupRecord** out);
void SSWCH_LinkSswch(SwitchGroupRecord** head, SwitchGroupRecord* group);
// Links a group that SSWCH_ParseLine gave, unless it is the group read on
// from an earlier line, which was linked then.
void SSWCH_LinkOnce(SwitchGroupRecord** head, SwitchGroupRecord* group);
int SSWCH_isLinked(SwitchGroupRecord* list, SwitchGroupRecord* group);
int SSWCH_HasFunction(SwitchGroupRecord* list, const char* name);
void SSWCH_TestList(SwitchGroupRecord* groups, SeriesPinMappingRecord* rows,
                    const char* componentName);
void SSWCH_FreeList(SwitchGroupRecord* list);
// Forgets the group being read.
void SSWCH_Reset(void);

#ifdef __cplusplus
}
#endif

#endif

// [Alternate Package Models] names of a component.
#ifndef IBISPARSER_APKG_H
#define IBISPARSER_APKG_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AltPackageEntry {
    struct AltPackageEntry* next;
    char name[41];
} AltPackageEntry;

int APKG_ReceiveLine(AltPackageEntry** head, char* text);
void APKG_Fini(AltPackageEntry* list);
int APKG_FreeList(AltPackageEntry* list);
void APKG_TestList(AltPackageEntry* list);

#ifdef __cplusplus
}
#endif

#endif

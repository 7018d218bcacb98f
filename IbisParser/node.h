// [Node Declarations] names of a component.
#ifndef IBISPARSER_NODE_H
#define IBISPARSER_NODE_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct NodeNameEntry {
    char* name;
    struct NodeNameEntry* next;
} NodeNameEntry;

int NODE_ParseLine(char* text, NodeNameEntry** head);
void NODE_FreeList(NodeNameEntry* list);
void TestNodeErrors(void);

#ifdef __cplusplus
}
#endif

#endif

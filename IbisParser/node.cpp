// [Node Declarations] names: each blank- or tab-separated word of a data line
// is one declared node.
#include "node.h"

#include <stdlib.h>

#include "cmn.h"
#include "errlog.h"

#define CMN_MODULE_PATH "IbisParser/node"

int NODE_ParseLine(char* text, NodeNameEntry** head)
{
    CMN_ASSERT(text != nullptr && head != nullptr);
    char* p = text;
    for (;;) {
        CMN_EatWhitespace(&p);
        if (*p == '\0') return 1;
        char* start = p;
        CMN_EatNonWhitespace(&p);
        NodeNameEntry* entry = nullptr;
        if (!CMN_malloc((void**)&entry, sizeof(NodeNameEntry))) {
            ERRLOG_BugNew(3600, CMN_MODULE_PATH, __LINE__);
            return 0;
        }
        entry->name = CMN_StrMakeN(start, (int)(p - start));
        if (entry->name == nullptr) {
            free(entry);
            ERRLOG_BugNew(3600, CMN_MODULE_PATH, __LINE__);
            return 0;
        }
        entry->next = *head;
        *head = entry;
    }
}

void NODE_FreeList(NodeNameEntry* list)
{
    while (list != nullptr) {
        NodeNameEntry* next = list->next;
        free(list->name);
        free(list);
        list = next;
    }
}

void TestNodeErrors(void) {}

// String lists and the name-counting table.
#include "strlist.h"

#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

#include "cmn.h"
#include "errlog.h"

#define CMN_MODULE_PATH "IbisParser/string"

STR_INT STR_INT_table[STR_INT_SIZE];
int STR_INT_cnt;

STR_LIST* STR_LIST_add(STR_LIST* list, const char* s)
{
    STR_LIST* node = nullptr;
    if (!CMN_malloc((void**)&node, sizeof(STR_LIST))) {
        ERRLOG_BugNew(2100, CMN_MODULE_PATH, __LINE__);
        return nullptr;
    }
    node->string = s;
    node->next = list;
    return node;
}

STR_LIST* STR_LIST_add_list(STR_LIST* list, ...)
{
    va_list args;
    va_start(args, list);
    const char* s;
    while ((s = va_arg(args, const char*)) != nullptr) list = STR_LIST_add(list, s);
    va_end(args);
    return list;
}

STR_LIST* STR_LIST_add_unique(STR_LIST* list, const char* s)
{
    if (STR_LIST_find(list, s)) return list;
    return STR_LIST_add(list, s);
}

int STR_LIST_find(STR_LIST* list, const char* s)
{
    for (; list != nullptr; list = list->next)
        if (list->string != nullptr && s != nullptr && strcmp(list->string, s) == 0) return 1;
    return 0;
}

STR_LIST* STR_LIST_next(STR_LIST* node) { return node ? node->next : nullptr; }

const char* STR_LIST_string(STR_LIST* node) { return node ? node->string : nullptr; }

void STR_LIST_free(STR_LIST* list)
{
    while (list != nullptr) {
        STR_LIST* next = list->next;
        free(list);
        list = next;
    }
}

void STR_INT_init(void) { STR_INT_cnt = 0; }

void STR_INT_incr(const char* key)
{
    for (int i = 0; i < STR_INT_cnt; i++) {
        if (strcmp(STR_INT_table[i].key, key) == 0) {
            STR_INT_table[i].count++;
            return;
        }
    }
    // A full table cannot take a further name; counting it would write past
    // the table, so it is reported as the program fault it is.
    if (STR_INT_cnt >= STR_INT_SIZE) {
        ERRLOG_BugNew(2101, CMN_MODULE_PATH, __LINE__);
        return;
    }
    STR_INT_table[STR_INT_cnt].key = key;
    STR_INT_table[STR_INT_cnt].count = 1;
    STR_INT_cnt++;
}

int STR_INT_value(const char* key)
{
    for (int i = 0; i < STR_INT_cnt; i++)
        if (strcmp(STR_INT_table[i].key, key) == 0) return STR_INT_table[i].count;
    ERRLOG_BugNew(2101, CMN_MODULE_PATH, __LINE__);
    return 0;
}

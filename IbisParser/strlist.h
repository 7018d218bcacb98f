// String lists (borrowed strings) and the name-counting table of the model
// and external-model modules.  (Named strlist.h so that it never stands in
// for the standard <string.h> on the include path.)
#ifndef IBISPARSER_STRLIST_H
#define IBISPARSER_STRLIST_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct STR_LIST {
    const char* string;     // borrowed: must outlive the list
    struct STR_LIST* next;
} STR_LIST;

typedef struct {
    const char* key;        // borrowed
    int count;
} STR_INT;

#define STR_INT_SIZE 30
extern STR_INT STR_INT_table[STR_INT_SIZE];
extern int STR_INT_cnt;

STR_LIST* STR_LIST_add(STR_LIST* list, const char* s);
STR_LIST* STR_LIST_add_list(STR_LIST* list, ...);
STR_LIST* STR_LIST_add_unique(STR_LIST* list, const char* s);
int STR_LIST_find(STR_LIST* list, const char* s);
STR_LIST* STR_LIST_next(STR_LIST* node);
const char* STR_LIST_string(STR_LIST* node);
void STR_LIST_free(STR_LIST* list);

void STR_INT_init(void);
void STR_INT_incr(const char* key);
int STR_INT_value(const char* key);

#ifdef __cplusplus
}
#endif

#endif

#include "rngp.h"
#include <stdlib.h>
int RNGP_New(RangePoint** out) { *out = (RangePoint*)calloc(1, sizeof(RangePoint)); return *out != nullptr; }
int RNGP_ParseLine(const char*, const char*, const char*, RangePoint** out) { *out = nullptr; return 0; }
int RNGP_LinkLine(RangePoint**, RangePoint*, int* count, int) { return *count = 0; }
int RNGP_Prev(const RangePoint* point, RangePoint** out) { *out = point->prev; return *out != nullptr; }
void RNGP_FreeList(RangePoint* first) { while (first) { RangePoint* n = first->next; free(first); first = n; } }
void RNGP_AppenderStart(RNGP_Appender* a, RangePoint** head) { a->head = head; a->tail = nullptr; a->count = 0; a->repeats = nullptr; }
int RNGP_Append(RNGP_Appender*, RangePoint*, int) { return 0; }
void RNGP_AppenderEnd(RNGP_Appender* a) { a->head = nullptr; }

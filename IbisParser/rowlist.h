// Appending rows to a list that keeps file order, in constant time per row:
// the tail of the list last appended to is remembered, and so is the count of
// each row name, for the modules that report repeated names.  Internal to the
// reader's C++ sources.
#ifndef IBISPARSER_ROWLIST_H
#define IBISPARSER_ROWLIST_H

#include <stdlib.h>

#include <initializer_list>

#include "cmn.h"
#include "errlog.h"
#include "nameidx.h"

// Frees every row of a list whose rows own nothing else.
template <class T>
void FreeChain(T* list)
{
    while (list != nullptr) {
        T* next = list->next;
        free(list);
        list = next;
    }
}

template <class T>
class RowAppender {
public:
    typedef const char* (*NameOf)(const T*);

    explicit RowAppender(NameOf nameOf) : nameOf_(nameOf) {}

    // Links row after the last row of *head.  Returns how many earlier rows
    // of the list carry row's name (0 without a name function).  A list is
    // only ever begun empty or continued, so an empty *head starts afresh and
    // another list is walked once to find its tail.
    int Append(T** head, T* row)
    {
        row->next = nullptr;
        if (*head == nullptr) {
            Forget();
            slot_ = head;
            *head = row;
            tail_ = row;
            return Count(row);
        }
        if (slot_ != head || tail_ == nullptr) {
            Forget();
            slot_ = head;
            for (T* p = *head; p != nullptr; p = p->next) {
                Count(p);
                tail_ = p;
            }
        }
        tail_->next = row;
        tail_ = row;
        return Count(row);
    }

    // Drops what is remembered, for when a list may have been freed.
    void Forget()
    {
        slot_ = nullptr;
        tail_ = nullptr;
        counts_.Clear();
    }

    // Frees every row of a list (rows that own nothing else).
    void FreeList(T* list)
    {
        Forget();
        FreeChain(list);
    }

private:
    int Count(const T* row)
    {
        if (nameOf_ == nullptr) return 0;
        return counts_.Add(nameOf_(row), row);
    }

    NameOf nameOf_;
    T** slot_ = nullptr;
    T* tail_ = nullptr;
    NameCount counts_;
};

// Makes a zero-filled row and splits text into at most max tokens.  When
// either fails, the line errors failCodes are given and null is returned.
template <class T>
T* RowStart(const char* text, int max, ARG_LIST* args, std::initializer_list<int> failCodes)
{
    T* row = nullptr;
    args->psArgs = nullptr;
    if (CMN_malloc((void**)&row, sizeof(T)) && CMN_ArgParse(text, max, args)) return row;
    if (args->psArgs != nullptr) CMN_ArgFree(args);
    free(row);
    for (int code : failCodes) ERRLOG_LineErrorNew(code);
    return nullptr;
}

#endif

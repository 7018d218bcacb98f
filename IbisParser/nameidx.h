// The reader's one way to look a name up: an index on the standard hash
// containers, exact or blind to case as each check compares names.  Every
// look-up by name and every "how often has this name appeared" goes through
// it, so that no check walks a list per row.  Internal to the reader's C++
// sources.
#ifndef IBISPARSER_NAMEIDX_H
#define IBISPARSER_NAMEIDX_H

#include <ctype.h>
#include <string.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "ibis.h"

// How names are compared: as strcmp does, or as CMN_StrSameIC does.
enum NameCase { NAME_EXACT, NAME_CASE_BLIND };

template <class T>
class NameIndex {
public:
    explicit NameIndex(NameCase c = NAME_EXACT) : case_(c) {}

    // The index of a list (rows linked through next), each name giving its
    // first row.
    NameIndex(T* list, const char* (*nameOf)(const T*), NameCase c = NAME_EXACT) : case_(c)
    {
        AddList(list, nameOf);
    }

    // Notes item under name.  The first item noted under a name is the one
    // Find gives; every note counts.  Returns how many items were noted
    // under the name before this one.
    int Add(const char* name, T* item)
    {
        Entry& e = map_[Key(name)];
        if (e.count++ == 0) e.first = item;
        return e.count - 1;
    }

    // Notes item under name and makes it the one Find gives.
    int Put(const char* name, T* item)
    {
        Entry& e = map_[Key(name)];
        e.first = item;
        return e.count++;
    }

    // The item Find gives for name, or null when the name was never noted.
    T* Find(const char* name) const
    {
        auto it = map_.find(Key(name));
        return it == map_.end() ? nullptr : it->second.first;
    }

    bool Has(const char* name) const { return map_.find(Key(name)) != map_.end(); }

    // How many items were noted under name.
    int Count(const char* name) const
    {
        auto it = map_.find(Key(name));
        return it == map_.end() ? 0 : it->second.count;
    }

    // Notes every row of a list in order (rows linked through next).
    template <class Row>
    void AddList(Row* list, const char* (*nameOf)(const Row*))
    {
        for (; list != nullptr; list = list->next) Add(nameOf(list), list);
    }

    // A fresh table rather than clear(), which visits every bucket of the
    // largest table ever held: emptying often would cost that much each time.
    void Clear()
    {
        if (!map_.empty()) std::unordered_map<std::string, Entry>().swap(map_);
    }

private:
    struct Entry {
        T* first = nullptr;
        int count = 0;
    };

    std::string Key(const char* name) const
    {
        std::string key(name);
        if (case_ == NAME_CASE_BLIND)
            for (char& c : key) c = (char)toupper((unsigned char)c);
        return key;
    }

    NameCase case_;
    std::unordered_map<std::string, Entry> map_;
};

// A name counter: only how often each name was noted.
typedef NameIndex<const void> NameCount;

// The index of a list that grows at its head (a container's records, newest
// first, names compared exactly), brought up to date at each look-up by
// noting the records pushed since the last one; Find gives the newest record
// of a name, the first that a walk from the head meets.  Kept with the
// container that owns the list (IBIS_NamesOf), so that it is freed with the
// records.  A record's name must not change once a look-up has seen it.
template <class T>
class HeadIndex {
public:
    typedef const char* (*NameOf)(const T*);

    const NameIndex<T>& Of(T* head, NameOf nameOf)
    {
        if (head != seen_) {
            // The records in front of the last head seen, noted oldest first
            // so that the newest of a name is the one found.  A list that
            // does not reach the last head is another list: start afresh.
            std::vector<T*> pushed;
            T* p = head;
            for (; p != nullptr && p != seen_; p = p->next) pushed.push_back(p);
            if (p != seen_) index_.Clear();
            for (auto it = pushed.rbegin(); it != pushed.rend(); ++it) index_.Put(nameOf(*it), *it);
            seen_ = head;
        }
        return index_;
    }

    T* Find(T* head, NameOf nameOf, const char* name) { return Of(head, nameOf).Find(name); }

private:
    T* seen_ = nullptr;
    NameIndex<T> index_;
};

// The indexes of one container's lists (IBIS_NamesOf), each brought up to
// date only by the module that owns the list.  Every list's names compare
// exactly.
struct IBIS_Names {
    NameIndex<ModelRecord> models;   // noted by mdl as each [Model] line is read
    HeadIndex<ComponentRecord> components;
    HeadIndex<ExternalCircuitRecord> externalCircuits;
    HeadIndex<SubmodelRecord> submodels;
    HeadIndex<PackageModelRecord> packageModels;
    HeadIndex<BoardDescriptionRecord> boards;
    HeadIndex<ModelSelectorRecord> selectors;
    HeadIndex<TestDataRecord> testData;
    HeadIndex<TestLoadRecord> testLoads;
};

// The newest record named name of the list that begins at head: through the
// index of the container on the stack that holds the list, or along the list
// when no container holds it (a list built by hand).  list and index name
// the container's list and its index, as &IBIS::submodels and
// &IBIS_Names::submodels.
template <class T>
T* IBIS_FindInList(T* head, T* IBIS::*list, HeadIndex<T> IBIS_Names::*index,
                   const char* (*nameOf)(const T*), const char* name)
{
    if (head == nullptr) return nullptr;
    for (IBIS* c = gpIbis; c != nullptr; c = c->next)
        if (c->*list == head) return (IBIS_NamesOf(c)->*index).Find(head, nameOf, name);
    for (T* p = head; p != nullptr; p = p->next)
        if (strcmp(nameOf(p), name) == 0) return p;
    return nullptr;
}

// Whether a record read before rec carries name, for the "previously
// defined" checks at a keyword line: rec already heads its container's list
// while its name is being read, so the index is asked about the list behind
// it, and rec is noted only by a later look-up, once its name is final.
template <class T>
bool IBIS_NamedBefore(T* rec, T* IBIS::*list, HeadIndex<T> IBIS_Names::*index,
                      const char* (*nameOf)(const T*), const char* name)
{
    if (rec->next == nullptr) return false;
    for (IBIS* c = gpIbis; c != nullptr; c = c->next)
        if (c->*list == rec) return (IBIS_NamesOf(c)->*index).Find(rec->next, nameOf, name) != nullptr;
    for (T* p = rec->next; p != nullptr; p = p->next)
        if (strcmp(nameOf(p), name) == 0) return true;
    return false;
}

#endif

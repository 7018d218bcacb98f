// [Circuit Call] blocks: the sub-parameter lines of a call, and the check
// that wires every call's ports to the component's pins and declared nodes
// and reports floating, undriven and mixed nodes and fighting converters.
#include "circuit.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "rowlist.h"
#include "cmn.h"
#include "cmpnt.h"
#include "errlog.h"
#include "extern.h"
#include "ibis.h"
#include "nameidx.h"
#include "pin.h"

#define CMN_MODULE_PATH "IbisParser/circuit"

// Field sizes of a call's names; longer words are cut with the setter's
// message.
enum { PIN_NAME_MAX = 5, PORT_NAME_MAX = 40, NODE_NAME_MAX = 46 };

// ---------------------------------------------------------------------------
// Reading

CircuitCallRecord* CCALL_New(unsigned beginLine, const char* externalCircuitName)
{
    CMN_ASSERT(externalCircuitName != nullptr);
    CircuitCallRecord* call = nullptr;
    if (!CMN_malloc((void**)&call, sizeof(CircuitCallRecord))) return nullptr;
    call->beginLine = beginLine;
    CMN_SetStr(call->externalCircuitName, externalCircuitName, 40, "Circuit Call");
    return call;
}

// Splits at blanks and tabs keeping at most max tokens; 0 after a failed
// allocation (the splitter reported it) with nothing left to free.
static int s_Split(const char* text, int max, ARG_LIST* args)
{
    args->psArgs = nullptr;
    if (CMN_ArgParse(text, max, args)) return 1;
    if (args->psArgs != nullptr) CMN_ArgFree(args);
    return 0;
}

// Signal_pin (one pin) or Diff_signal_pins / Series_pins (two): each pin
// goes to the first empty reference pin; Signal_pin may only take the first.
static void s_ReferencePins(CircuitCallRecord* call, const ARG_LIST* args, int pins)
{
    const char* sub = args->psArgs[0];
    for (int i = 1; i <= pins; i++) {
        if (args->iTotal <= i) {
            ERRLOG_LineErrorNew(1805, sub);
            return;
        }
        const char* pin = args->psArgs[i];
        char* field = nullptr;
        if (call->firstReferencePin[0] == '\0')
            field = call->firstReferencePin;
        else if (pins == 2 && call->secondReferencePin[0] == '\0')
            field = call->secondReferencePin;
        if (field == nullptr)
            ERRLOG_LineErrorNew(1800, pin);
        else
            CMN_SetStr(field, pin, PIN_NAME_MAX, "Pin");
    }
    if (args->iTotal > pins + 1) ERRLOG_LineErrorNew(1806, args->psArgs[pins + 1]);
}

// The Port_map port names of the call s_portsOwner as its list stood at
// s_portsHead, so that a call of many Port_map lines finds a repeated port
// at once; any other call or list rebuilds it.
static CircuitCallRecord* s_portsOwner;
static PortMapEntry* s_portsHead;
static std::unordered_set<std::string> s_ports;

// Empties a table by giving it fresh storage: emptying it in place would
// cost its largest size again at every later use.
template <class Table>
static void s_Empty(Table& table)
{
    Table().swap(table);
}

static std::unordered_set<std::string>& s_PortsOfCall(CircuitCallRecord* call)
{
    if (s_portsOwner != call || s_portsHead != call->portMap) {
        s_Empty(s_ports);
        for (PortMapEntry* e = call->portMap; e != nullptr; e = e->next)
            s_ports.insert(e->portName);
        s_portsOwner = call;
        s_portsHead = call->portMap;
    }
    return s_ports;
}

static int s_PortMap(CircuitCallRecord* call, const ARG_LIST* args)
{
    if (args->iTotal < 3) {
        ERRLOG_LineErrorNew(1807);
        return 0;
    }
    char port[PORT_NAME_MAX + 1];
    char node[NODE_NAME_MAX + 1];
    CMN_SetStr(port, args->psArgs[1], PORT_NAME_MAX, "Port");
    CMN_SetStr(node, args->psArgs[2], NODE_NAME_MAX, "Node");
    std::unordered_set<std::string>& ports = s_PortsOfCall(call);
    if (ports.count(port) != 0) {
        ERRLOG_LineErrorNew(1801, port);
        return 1;
    }
    PortMapEntry* entry = nullptr;
    if (!CMN_malloc((void**)&entry, sizeof(PortMapEntry))) {
        ERRLOG_BugNew(1803, CMN_MODULE_PATH, __LINE__);
        return 1;
    }
    memcpy(entry->portName, port, sizeof port);
    memcpy(entry->nodeName, node, sizeof node);
    entry->next = call->portMap;
    call->portMap = entry;
    ports.insert(port);
    s_portsHead = entry;
    return 1;
}

int CCALL_ParseLine(char* line, CircuitCallRecord** current)
{
    CMN_ASSERT(line != nullptr && current != nullptr && *current != nullptr);
    CircuitCallRecord* call = *current;
    ARG_LIST args;
    // The sub-parameter, two arguments and the first extra word.
    if (!s_Split(line, 4, &args)) return 0;
    int result = 1;
    if (args.iCount > 0) {
        const char* sub = args.psArgs[0];
        if (strcmp(sub, "Signal_pin") == 0)
            s_ReferencePins(call, &args, 1);
        else if (strcmp(sub, "Diff_signal_pins") == 0 || strcmp(sub, "Series_pins") == 0)
            s_ReferencePins(call, &args, 2);
        else if (strcmp(sub, "Port_map") == 0)
            result = s_PortMap(call, &args);
        else {
            ERRLOG_LineErrorNew(1804, sub);
            result = 0;
        }
    }
    CMN_ArgFree(&args);
    return result;
}

void CCALL_FreeList(CircuitCallRecord* list)
{
    while (list != nullptr) {
        CircuitCallRecord* next = list->next;
        if (list == s_portsOwner) {
            s_portsOwner = nullptr;
            s_Empty(s_ports);
        }
        FreeChain(list->portMap);
        free(list);
        list = next;
    }
}

void TestCcallErrors(void) {}

// ---------------------------------------------------------------------------
// What the check reads of an external circuit.  Port names are kept in the
// Port_map field's cut form, so that every comparison of the check is exact
// however long the circuit's words are.

struct ExtConverter {
    int line;
    std::string port[3];   // digital port, analog port 1, analog port 2
};

struct ExtView {
    const char* name;
    unsigned line;
    int language;
    std::vector<std::string> ports;          // Ports words, newest first
    std::unordered_set<std::string> portSet;
    std::unordered_set<std::string> digitalPorts;
    std::unordered_map<std::string, unsigned> portTypes;   // the newest line of a port
    std::vector<ExtConverter> d2a, a2d;      // the Typ corner's, newest first
};

static std::string s_Cut(const char* name, size_t limit)
{
    size_t n = strlen(name);
    return std::string(name, n < limit ? n : limit);
}

static const char* s_ExternalName(const ExternalCircuitRecord* e) { return e->name; }

// The first circuit of the name along the list, through the index of the
// container that holds the list.
static ExternalCircuitRecord* s_FindExternal(ExternalCircuitRecord* list, const char* name)
{
    return IBIS_FindInList(list, &IBIS::externalCircuits, &IBIS_Names::externalCircuits,
                           s_ExternalName, name);
}

static std::string s_PortWord(const char* word)
{
    return word == nullptr ? std::string() : s_Cut(word, PORT_NAME_MAX);
}

static void s_ReadExternal(ExternalCircuitRecord* ext, ExtView* view)
{
    view->name = ext->name;
    view->line = (unsigned)ext->line;
    ExternalModelData* d = ext->data;
    view->language = d != nullptr ? d->Language : 0;
    if (d == nullptr) return;
    for (PortName* p = d->Ports; p != nullptr; p = p->next) {
        view->ports.push_back(s_PortWord(p->name));
        view->portSet.insert(view->ports.back());
    }
    for (PortName* p = d->DigitalPorts; p != nullptr; p = p->next)
        view->digitalPorts.insert(s_PortWord(p->name));
    for (PortTypeEntry* t = d->PortTypes; t != nullptr; t = t->next)
        view->portTypes.emplace(s_PortWord(t->portName), (unsigned)t->type);
    if (d->Typ == nullptr) return;
    for (D2AEntry* c = d->Typ->D_to_A; c != nullptr; c = c->next)
        view->d2a.push_back(
            {c->line, {s_PortWord(c->d_port), s_PortWord(c->port1), s_PortWord(c->port2)}});
    for (A2DEntry* c = d->Typ->A_to_D; c != nullptr; c = c->next)
        view->a2d.push_back(
            {c->line, {s_PortWord(c->d_port), s_PortWord(c->port1), s_PortWord(c->port2)}});
}

// The Analog-only languages (SPICE, VHDL-A(MS), Verilog-A(MS)) make every
// port analog unless told otherwise.
static int s_AnalogOnly(const ExtView* view) { return view->language == EXT_LANG_ANALOG; }

// ---------------------------------------------------------------------------
// The check's tables, emptied at each component's start and released at its
// end.

typedef struct CcallNode CcallNode;
typedef struct CcallEnd CcallEnd;

// A port of a call's table, or a connection on a node.
typedef struct CcallPort {
    char* name;
    int count;
    unsigned line;   // the call's begin line
    int digitalDrivers, analogReceivers, digitalReceivers, analogDrivers;
    unsigned kind;
    CcallEnd* ends;      // converter ends wired through this connection
    CcallNode* node;     // where a Port_map line wires this port
    struct CcallPort* next;
} CcallPort;

struct CcallNode {
    char* name;
    int count;
    unsigned kind;
    CcallPort* connections;   // newest first
    CcallNode* next;
};

// One end of a converter line: its digital port or one of its analog ports.
struct CcallEnd {
    char* name;
    CcallNode* node;
    int state;
    int converterLine;
    unsigned callLine;
    unsigned kind;
    CcallEnd* next;               // A2d_list
    CcallEnd* nextOnConnection;
};

typedef struct CcallConverter {
    int line;
    int isA2D;
    int endCount;
    CcallEnd* ends[3];   // digital port, analog port 1, analog port 2
    struct CcallConverter* next;
} CcallConverter;

typedef struct CcallCall {
    unsigned line;
    unsigned externalLine;
    CcallPort* ports;   // newest first
    std::unordered_map<std::string, CcallPort*>* portIndex;
    CcallConverter* converters;   // file order of the call's converter lines
    CcallConverter* lastConverter;
    // The converter ends of each port name, in converter order.
    std::unordered_map<std::string, std::vector<std::pair<CcallConverter*, int>>>* endIndex;
    struct CcallCall* next;
} CcallCall;

static CcallCall* ccall_list;
static CcallCall* s_lastCall;
// The first call of ccall_list with each begin line.
static std::unordered_map<unsigned, CcallCall*> s_callIndex;
static CcallNode* pNode_list;
static std::unordered_map<std::string, CcallNode*> s_nodeIndex;
static CcallEnd* A2d_list;

// Text buffers of the connection lists; 1819 prints two at once.
enum { LIST_SIZE = 5000 };
static char s_list[2][LIST_SIZE];

static void s_NoMemory(int line) { ERRLOG_BugNew(1803, CMN_MODULE_PATH, line); }

static void s_FreePorts(CcallPort* p)
{
    while (p != nullptr) {
        CcallPort* next = p->next;
        free(p->name);
        free(p);
        p = next;
    }
}

static void s_FreeTables(void)
{
    while (ccall_list != nullptr) {
        CcallCall* next = ccall_list->next;
        s_FreePorts(ccall_list->ports);
        delete ccall_list->portIndex;
        delete ccall_list->endIndex;
        CcallConverter* cv = ccall_list->converters;
        while (cv != nullptr) {
            CcallConverter* after = cv->next;
            free(cv);
            cv = after;
        }
        free(ccall_list);
        ccall_list = next;
    }
    s_lastCall = nullptr;
    s_Empty(s_callIndex);
    while (pNode_list != nullptr) {
        CcallNode* next = pNode_list->next;
        s_FreePorts(pNode_list->connections);
        free(pNode_list->name);
        free(pNode_list);
        pNode_list = next;
    }
    s_Empty(s_nodeIndex);
    while (A2d_list != nullptr) {
        CcallEnd* next = A2d_list->next;
        free(A2d_list->name);
        free(A2d_list);
        A2d_list = next;
    }
}

static CcallPort* s_NewPort(const char* name, unsigned line, unsigned kind)
{
    CcallPort* p = nullptr;
    if (!CMN_malloc((void**)&p, sizeof(CcallPort))) return nullptr;
    p->name = CMN_StrMake(name);
    if (p->name == nullptr) {
        free(p);
        return nullptr;
    }
    p->count = 1;
    p->line = line;
    p->kind = kind;
    return p;
}

static CcallCall* s_FindCall(unsigned line)
{
    if (s_lastCall != nullptr && s_lastCall->line == line) return s_lastCall;
    auto it = s_callIndex.find(line);
    return it == s_callIndex.end() ? nullptr : it->second;
}

static CcallPort* s_FindPort(CcallCall* call, const char* name)
{
    auto it = call->portIndex->find(name);
    return it == call->portIndex->end() ? nullptr : it->second;
}

static CcallPort* s_AddPort(CcallCall* call, const char* name, unsigned kind)
{
    CcallPort* p = s_NewPort(name, call->line, kind);
    if (p == nullptr) {
        s_NoMemory(__LINE__);
        return nullptr;
    }
    p->next = call->ports;
    call->ports = p;
    (*call->portIndex)[p->name] = p;
    return p;
}

// The kind that the reserved digital port names carry when nothing else
// tells: 0 for any other name.
static unsigned s_DigitalNameKind(const char* name)
{
    if (strcmp(name, "D_drive") == 0 || strcmp(name, "D_switch") == 0 ||
        strcmp(name, "D_enable") == 0)
        return 0x414;
    if (strcmp(name, "D_receive") == 0) return 0x40C;
    return 0;
}

// The entry of that name in the call's table, or a new one (count 1).
static CcallPort* CCALL_PortListAdd(CcallCall* call, const char* name, unsigned kind)
{
    CcallPort* p = s_FindPort(call, name);
    if (p != nullptr) return p;
    if (strcmp(name, "A_gnd") == 0)
        kind = 0xA2;
    else if (kind == 0 || kind == CCALL_AMS_UNKNOWN) {
        unsigned named = s_DigitalNameKind(name);
        if (named != 0)
            kind = named;
        else if (kind == 0)
            kind = CCALL_UNKNOWN;
    }
    return s_AddPort(call, name, kind);
}

// The counter that a port of this kind adds to, by the first of its role
// bits.
static int* s_RoleCounter(CcallPort* p, unsigned kind)
{
    if (kind & CCALL_DIGITAL_DRIVER) return &p->digitalDrivers;
    if (kind & CCALL_DIGITAL_RECEIVER) return &p->digitalReceivers;
    if (kind & CCALL_ANALOG_DRIVER) return &p->analogDrivers;
    if (kind & CCALL_ANALOG) return &p->analogReceivers;
    return nullptr;
}

// Merges a port into the table of the call with that begin line: 1, or 2
// when there is no such call.  A new entry starts its role counter at one,
// as a merge into an existing entry adds one, so the counts do not depend on
// whether a converter end or the circuit's Ports word came first.
static int CCALL_MODPORT(const char* name, unsigned kind, unsigned line)
{
    CcallCall* call = s_FindCall(line);
    if (call == nullptr) {
        ERRLOG_BugNew(1814, CMN_MODULE_PATH, __LINE__);
        return 2;
    }
    CcallPort* p = s_FindPort(call, name);
    if (p != nullptr) {
        p->count++;
        int* counter = s_RoleCounter(p, kind);
        // A second analog driver on one internal port.
        if (counter == &p->analogDrivers && p->analogDrivers > 0) p->kind |= CCALL_ANALOG_REFERENCE;
        p->kind |= kind;
        if (counter != nullptr) ++*counter;
        return 1;
    }
    p = s_AddPort(call, name, kind);
    if (p == nullptr) return 1;
    int* counter = s_RoleCounter(p, kind);
    if (counter != nullptr) *counter = 1;
    return 1;
}

// The Port_type kind of a port, else def.
static unsigned CCALL_gettype(const ExtView* view, const std::string& name, unsigned def)
{
    auto it = view->portTypes.find(name);
    return it == view->portTypes.end() ? def : it->second;
}

// The call's entry in ccall_list with every port of its external circuit.
// 0 when the call already has a table for another external circuit.
static CcallCall* CCALL_AddExtPorts(const ExtView* view, unsigned callLine, unsigned defaultKind)
{
    CcallCall* call = s_FindCall(callLine);
    if (call != nullptr) {
        if (call->externalLine != view->line) {
            ERRLOG_BugNew(1810, CMN_MODULE_PATH, __LINE__);
            return nullptr;
        }
    } else {
        if (!CMN_malloc((void**)&call, sizeof(CcallCall))) {
            s_NoMemory(__LINE__);
            return nullptr;
        }
        call->line = callLine;
        call->externalLine = view->line;
        call->portIndex = new std::unordered_map<std::string, CcallPort*>();
        call->endIndex =
            new std::unordered_map<std::string, std::vector<std::pair<CcallConverter*, int>>>();
        if (s_lastCall != nullptr)
            s_lastCall->next = call;
        else
            ccall_list = call;
        s_lastCall = call;
        s_callIndex.emplace(callLine, call);
    }
    // Ports is newest first; pushing each at the head gives file order.
    for (const std::string& port : view->ports)
        CCALL_PortListAdd(call, port.c_str(), CCALL_gettype(view, port, defaultKind));
    return call;
}

// Records one end of a converter line in A2d_list and in the call's
// converter table (ends arrive digital port first, then port 1, port 2).
static CcallEnd* CCALL_AddA2DPort(CcallCall* call, const char* name, int converterLine, int isA2D,
                                  unsigned kind)
{
    CcallConverter* cv = call->lastConverter;
    if (cv == nullptr || cv->line != converterLine || cv->endCount == 3) {
        cv = nullptr;
        if (!CMN_malloc((void**)&cv, sizeof(CcallConverter))) {
            s_NoMemory(__LINE__);
            return nullptr;
        }
        cv->line = converterLine;
        cv->isA2D = isA2D;
        if (call->lastConverter != nullptr)
            call->lastConverter->next = cv;
        else
            call->converters = cv;
        call->lastConverter = cv;
    }
    CcallEnd* end = nullptr;
    if (!CMN_malloc((void**)&end, sizeof(CcallEnd))) {
        s_NoMemory(__LINE__);
        return nullptr;
    }
    end->name = CMN_StrMake(name);
    if (end->name == nullptr) {
        free(end);
        s_NoMemory(__LINE__);
        return nullptr;
    }
    end->state = 2;
    end->converterLine = converterLine;
    end->callLine = call->line;
    end->kind = kind;
    end->next = A2d_list;
    A2d_list = end;
    (*call->endIndex)[end->name].emplace_back(cv, cv->endCount);
    cv->ends[cv->endCount++] = end;
    return end;
}

// The ends of the Typ corner's converters, each merged into the
// call's port table in the role it plays for the circuit.
static void s_AddConverters(CcallCall* call, const ExtView* view)
{
    for (const ExtConverter& c : view->d2a) {
        if (CCALL_AddA2DPort(call, c.port[0].c_str(), c.line, 0, 0x14) != nullptr)
            CCALL_MODPORT(c.port[0].c_str(), 0x14, call->line);
        for (int k = 1; k < 3; k++) {
            int gnd = c.port[k] == "A_gnd";
            unsigned kind = gnd ? 0x2E0 : 0x200;
            if (CCALL_AddA2DPort(call, c.port[k].c_str(), c.line, 0, kind) != nullptr)
                CCALL_MODPORT(c.port[k].c_str(), gnd ? 0x2E0 : 0x280, call->line);
        }
    }
    for (const ExtConverter& c : view->a2d) {
        if (CCALL_AddA2DPort(call, c.port[0].c_str(), c.line, 1, 0xC) != nullptr)
            CCALL_MODPORT(c.port[0].c_str(), 0xC, call->line);
        for (int k = 1; k < 3; k++) {
            unsigned kind = c.port[k] == "A_gnd" ? 0x1260 : 0x1000;
            if (CCALL_AddA2DPort(call, c.port[k].c_str(), c.line, 1, kind) != nullptr)
                CCALL_MODPORT(c.port[k].c_str(), kind, call->line);
        }
    }
}

static CcallNode* s_Node(const char* name, unsigned newKind, unsigned oldKind, int countOld)
{
    auto it = s_nodeIndex.find(name);
    if (it != s_nodeIndex.end()) {
        CcallNode* n = it->second;
        n->count += countOld;
        n->kind |= oldKind;
        return n;
    }
    CcallNode* n = nullptr;
    if (!CMN_malloc((void**)&n, sizeof(CcallNode))) {
        s_NoMemory(__LINE__);
        return nullptr;
    }
    n->name = CMN_StrMake(name);
    if (n->name == nullptr) {
        free(n);
        s_NoMemory(__LINE__);
        return nullptr;
    }
    n->kind = newKind;
    n->next = pNode_list;
    pNode_list = n;
    s_nodeIndex[n->name] = n;
    return n;
}

// A pin's node: new ones count no connection yet.
static CcallNode* s_PinNode(const char* name, int countOld)
{
    return s_Node(name, 0x1301, 0x1300, countOld);
}

// The pins and declared node names of the component being checked.
static std::unordered_map<std::string, PinRecord*> s_pins;
static std::unordered_set<std::string> s_declared;

static PinRecord* s_FindPin(const char* name)
{
    auto it = s_pins.find(name);
    return it == s_pins.end() ? nullptr : it->second;
}

// A reference pin must be a [Pin] of the component declared CIRCUITCALL;
// any [Pin] gets its node.
static void s_ReferencePin(const ComponentRecord* component, const CircuitCallRecord* rec,
                           const char* pin, int notCircuitCallCode)
{
    PinRecord* p = s_FindPin(pin);
    if (p == nullptr) {
        ERRLOG_ErrorNew(1839, component->name, (int)rec->beginLine, pin);
        return;
    }
    if (strcmp(p->modelName, "CIRCUITCALL") != 0)
        ERRLOG_ErrorNew(notCircuitCallCode, (int)rec->beginLine, pin);
    s_PinNode(pin, 0);
}

// The kind of a Port_map port, or 0 when the circuit has no such port.
static unsigned s_PortMapKind(const ExtView* view, const std::string& port)
{
    unsigned typed = CCALL_gettype(view, port, 0);
    if (typed != 0 && typed != CCALL_AMS_UNKNOWN) return typed;
    if (view->portSet.count(port) != 0) {
        if (s_AnalogOnly(view)) return CCALL_ANALOG;
        unsigned named = s_DigitalNameKind(port.c_str());
        return named != 0 ? named : (unsigned)CCALL_AMS_UNKNOWN;
    }
    if (view->digitalPorts.count(port) != 0) return CCALL_DIGITAL;
    return 0;
}

// The kind a converter end gains when its port is wired, and the counter of
// the connection that it adds to.
static unsigned s_WiredRoleKind(const CcallConverter* cv, int k)
{
    if (cv->isA2D) return k == 0 ? CCALL_DIGITAL_DRIVER : CCALL_ANALOG_RECEIVER;
    return k == 0 ? CCALL_DIGITAL_RECEIVER : CCALL_ANALOG_DRIVER | CCALL_ANALOG;
}

static int* s_WiredRoleCounter(CcallPort* conn, const CcallConverter* cv, int k)
{
    if (cv->isA2D) return k == 0 ? &conn->digitalDrivers : &conn->analogReceivers;
    return k == 0 ? &conn->digitalReceivers : &conn->analogDrivers;
}

// The converter ends of a port that a Port_map line wires: A_to_D lines
// first, then D_to_A lines, each its digital port and then its analog ports.
// The role of each end is counted on the connection (the node's side: analog
// drivers met there mark the node), and the end, with the kind it gained, is
// merged once more into the call's table.
static void s_WireConverterEnds(CcallCall* call, CcallPort* conn, CcallNode* node)
{
    auto found = call->endIndex->find(conn->name);
    if (found == call->endIndex->end()) return;
    for (int a2d = 1; a2d >= 0; a2d--)
        for (const auto& at : found->second) {
            CcallConverter* cv = at.first;
            int k = at.second;
            if (cv->isA2D != a2d) continue;
            CcallEnd* end = cv->ends[k];
            if (end->node == node) {
                ERRLOG_BugNew(1811, CMN_MODULE_PATH, __LINE__);
                continue;
            }
            end->node = node;
            end->kind |= s_WiredRoleKind(cv, k);
            end->nextOnConnection = conn->ends;
            conn->ends = end;
            ++*s_WiredRoleCounter(conn, cv, k);
            conn->count++;
            node->count++;
            CCALL_MODPORT(end->name, end->kind, call->line);
        }
}

// The Port_map lines of one call.
static void s_WirePorts(const ComponentRecord* component, const CircuitCallRecord* rec,
                        CcallCall* call, const ExtView* view)
{
    int line = (int)rec->beginLine;
    // Node and port of every connection this call made.
    std::unordered_set<std::string> wired;
    for (PortMapEntry* pm = rec->portMap; pm != nullptr; pm = pm->next) {
        CcallNode* node;
        if (s_FindPin(pm->nodeName) != nullptr)
            node = s_PinNode(pm->nodeName, 1);
        else if (s_declared.count(pm->nodeName) != 0)
            node = s_Node(pm->nodeName, 0x3, 0x2, 1);
        else {
            ERRLOG_ErrorNew(1846, line, pm->nodeName, component->name);
            continue;
        }
        if (node == nullptr) continue;
        std::string portName = pm->portName;
        unsigned kind = s_PortMapKind(view, portName);
        if (kind == 0) {
            ERRLOG_ErrorNew(1845, line, pm->portName, view->name);
            continue;
        }
        if (!wired.insert(std::string(node->name) + '\n' + pm->portName).second) {
            ERRLOG_ErrorNew(1815, line, pm->portName);
            continue;
        }
        CcallPort* port = s_FindPort(call, pm->portName);
        if (port != nullptr) {
            port->count++;
            port->node = node;
            node->count++;
        }
        CcallPort* conn = s_NewPort(pm->portName, rec->beginLine, kind);
        if (conn == nullptr) {
            s_NoMemory(__LINE__);
            continue;
        }
        conn->node = node;
        conn->next = node->connections;
        node->connections = conn;
        node->kind |= kind;
        s_WireConverterEnds(call, conn, node);
    }
}

// After all calls: the ends of one name in a call are one port of the
// circuit, so they share their kinds, and two analog drivers among them are
// marked; then each wired end's kind joins its node.
static void s_MergeConverterEnds(void)
{
    for (CcallCall* call = ccall_list; call != nullptr; call = call->next) {
        std::vector<CcallEnd*> ends;
        for (CcallConverter* cv = call->converters; cv != nullptr; cv = cv->next)
            for (int k = 0; k < cv->endCount; k++) ends.push_back(cv->ends[k]);
        std::stable_sort(ends.begin(), ends.end(), [](const CcallEnd* a, const CcallEnd* b) {
            return strcmp(a->name, b->name) < 0;
        });
        for (size_t i = 0; i < ends.size();) {
            size_t j = i;
            unsigned kind = 0;
            int drivers = 0;
            for (; j < ends.size() && strcmp(ends[j]->name, ends[i]->name) == 0; j++) {
                kind |= ends[j]->kind;
                drivers += (ends[j]->kind & CCALL_ANALOG_DRIVER) != 0;
            }
            if (j - i > 1) {
                if (drivers > 1) kind |= CCALL_ANALOG_REFERENCE;
                for (size_t k = i; k < j; k++) ends[k]->kind = kind;
            }
            i = j;
        }
        for (CcallEnd* end : ends)
            if (end->node != nullptr) end->node->kind |= end->kind;
    }
}

// Ports of a call that no Port_map line wires.
static void s_InternalNodes(void)
{
    for (CcallCall* call = ccall_list; call != nullptr; call = call->next)
        for (CcallPort* p = call->ports; p != nullptr; p = p->next) {
            if (p->node != nullptr) continue;
            if (p->count <= 1 && (p->kind & (CCALL_ANALOG_RESERVE | CCALL_RESERVED_DIGITAL)) == 0)
                ERRLOG_ErrorNew(1817, (int)call->line, (int)call->externalLine, p->name,
                                CCALL_etype(p->kind));
            if ((p->kind & CCALL_ANALOG) && (p->kind & CCALL_DIGITAL))
                ERRLOG_ErrorNew(1818, p->name, (int)call->externalLine);
        }
}

// Appends to a bounded text; what does not fit is cut.
static void s_Append(char* buf, size_t size, size_t* len, const char* format, ...)
{
    if (*len + 1 >= size) return;
    va_list ap;
    va_start(ap, format);
    int n = vsnprintf(buf + *len, size - *len, format, ap);
    va_end(ap);
    if (n < 0) return;
    size_t room = size - *len - 1;
    *len += (size_t)n < room ? (size_t)n : room;
}

static const char* s_ConnectionList(const CcallNode* node, unsigned mask, char* buf, size_t size)
{
    size_t len = 0;
    buf[0] = '\0';
    if (node == nullptr) return buf;
    for (const CcallPort* c = node->connections; c != nullptr && len + 1 < size; c = c->next) {
        if (c->ends != nullptr) {
            for (const CcallEnd* e = c->ends; e != nullptr && len + 1 < size;
                 e = e->nextOnConnection)
                if (e->kind & mask)
                    s_Append(buf, size, &len,
                             "\n        [CCALL] Line %d Node <%s>, Conflicting port = Line <%d> "
                             "Port <%s> = %s",
                             (int)e->callLine, node->name, e->converterLine, e->name,
                             CCALL_etype(e->kind & mask));
        } else if (c->kind & mask)
            s_Append(buf, size, &len,
                     "\n        [CCALL] Line %d Node <%s>, Conflicting port = Port <%s> = %s",
                     (int)c->line, node->name, c->name, CCALL_etype(c->kind & mask));
    }
    return buf;
}

// The node's connections whose kind meets the mask, as message text.
static const char* CCALL_conflicting_ports(const CcallNode* node, unsigned mask)
{
    return s_ConnectionList(node, mask, s_list[0], sizeof s_list[0]);
}

const char* CCALL_etype(unsigned kind)
{
    static const struct {
        unsigned bit;
        const char* word;
    } kWords[] = {
        {0x800, "AMS_UNKNOWN "}, {0x4, "DIGITAL "},         {0x8, "DIGITAL_DRIVER "},
        {0x10, "DIGITAL_RECEIVER "}, {0x20, "ANALOG_RESERVE "}, {0x40, "ANALOG_REFERENCE "},
        {0x80, "ANALOG "},       {0x100, "ANALOG_PIN "},     {0x200, "ANALOG_DRIVER "},
        {0x1000, "ANALOG_RECEIVER"},
    };
    static char text[256];
    size_t len = 0;
    for (const auto& w : kWords)
        if (kind & w.bit) {
            size_t n = strlen(w.word);
            memcpy(text + len, w.word, n);
            len += n;
        }
    text[len] = '\0';
    if (len == 0) {
        if (kind & CCALL_NC)
            strcpy(text, "NC ");
        else if (kind & CCALL_UNKNOWN)
            strcpy(text, "UNKNOWN ");
    }
    return text;
}

// Every node that a call wires.
static void s_CheckNodes(const ComponentRecord* component)
{
    const char* cname = component->name;
    for (CcallNode* n = pNode_list; n != nullptr; n = n->next) {
        int pin = (n->kind & CCALL_ANALOG_PIN) != 0;
        if (n->count == 1 && !pin)
            ERRLOG_ErrorNew(1821, cname, n->name, CCALL_conflicting_ports(n, 0x86));
        if (n->count == 0) {
            if (pin)
                ERRLOG_ErrorNew(1823, cname, n->name);
            else
                ERRLOG_WarnNew(1822, cname, n->name, "");
        }
        int drivers = 0;
        for (CcallPort* c = n->connections; c != nullptr; c = c->next) {
            for (CcallEnd* e = c->ends; e != nullptr; e = e->nextOnConnection) n->kind |= e->kind;
            drivers += c->analogDrivers;
        }
        if (drivers > 1) n->kind |= CCALL_ANALOG_REFERENCE;
        unsigned kind = n->kind;
        if ((kind & 0x1C) && (kind & 0x13E0))
            ERRLOG_ErrorNew(1824, cname, n->name, CCALL_conflicting_ports(n, 0x13FC));
        switch (kind & 0x818) {
        case 0x10: ERRLOG_ErrorNew(1825, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF)); break;
        case 0x810: ERRLOG_WarnNew(1826, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF)); break;
        case 0x8: ERRLOG_ErrorNew(1827, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF)); break;
        case 0x808: ERRLOG_WarnNew(1828, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF)); break;
        default: break;
        }
        if (gbEtcFlag) {
            if ((kind & 0xA08) == 0x800)
                ERRLOG_ErrorNew(1829, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF));
            else
                switch (kind & 0x1A00) {
                case 0x1000:
                    ERRLOG_ErrorNew(1830, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF));
                    break;
                case 0x1800:
                    ERRLOG_WarnNew(1831, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF));
                    break;
                case 0x200:
                    ERRLOG_ErrorNew(1832, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF));
                    break;
                case 0xA00:
                    ERRLOG_WarnNew(1833, cname, n->name, CCALL_conflicting_ports(n, 0xFFFF));
                    break;
                default: break;
                }
        }
        if (pin && (kind & 0x1C))
            ERRLOG_ErrorNew(1834, cname, n->name, CCALL_conflicting_ports(n, 0x11C));
    }
}

// A converter whose two analog ends sit on nodes that each hold a
// second analog driver or a reference.
static void CCALL_check_ccall(void)
{
    for (CcallCall* call = ccall_list; call != nullptr; call = call->next)
        for (CcallConverter* cv = call->converters; cv != nullptr; cv = cv->next) {
            if (cv->endCount < 3) continue;
            CcallEnd* a = cv->ends[1];
            CcallEnd* b = cv->ends[2];
            if (a->node == nullptr || b->node == nullptr) continue;
            unsigned both = a->node->kind & b->node->kind;
            if (!(both & CCALL_ANALOG_REFERENCE)) continue;
            ERRLOG_ErrorNew(1819, (int)call->line, cv->line, a->name, a->node->name, b->name,
                            b->node->name, s_ConnectionList(a->node, 0x260, s_list[0], LIST_SIZE),
                            s_ConnectionList(b->node, 0x260, s_list[1], LIST_SIZE));
        }
}

void CCALL_checkPortNode(ComponentRecord* component, ExternalCircuitRecord* externalCircuits)
{
    CMN_ASSERT(component != nullptr);
    // The file has been read: the port index of its last call is rebuilt if
    // it is ever needed again, and need not sit beside the check's tables.
    if (s_portsOwner != nullptr) {
        s_portsOwner = nullptr;
        s_Empty(s_ports);
    }
    s_FreeTables();
    if (component->circuitCalls == nullptr) return;
    s_Empty(s_pins);
    s_Empty(s_declared);
    for (PinRecord* p = component->pins; p != nullptr; p = p->next) s_pins.emplace(p->pinName, p);
    // Declared names compare in the cut form a Port_map node takes.
    for (NodeNameEntry* n = component->nodes; n != nullptr; n = n->next)
        if (n->name != nullptr) s_declared.insert(s_Cut(n->name, NODE_NAME_MAX));

    // What the check reads of each circuit, read once however many calls
    // name it.
    std::unordered_map<const ExternalCircuitRecord*, ExtView> views;
    for (CircuitCallRecord* rec = component->circuitCalls; rec != nullptr; rec = rec->next) {
        ExternalCircuitRecord* ext = s_FindExternal(externalCircuits, rec->externalCircuitName);
        if (ext == nullptr) {
            ERRLOG_ErrorNew(1838, (int)rec->beginLine, rec->externalCircuitName, component->name);
            continue;
        }
        auto known = views.find(ext);
        if (known == views.end()) {
            known = views.emplace(ext, ExtView()).first;
            s_ReadExternal(ext, &known->second);
        }
        const ExtView& view = known->second;
        if (rec->firstReferencePin[0] != '\0')
            s_ReferencePin(component, rec, rec->firstReferencePin, 1840);
        if (rec->secondReferencePin[0] != '\0')
            s_ReferencePin(component, rec, rec->secondReferencePin, 1841);
        if (rec->firstReferencePin[0] != '\0' &&
            strcmp(rec->firstReferencePin, rec->secondReferencePin) == 0)
            ERRLOG_ErrorNew(1842, component->name, (int)rec->beginLine, rec->firstReferencePin);
        CcallCall* call = CCALL_AddExtPorts(&view, rec->beginLine,
                                            s_AnalogOnly(&view) ? CCALL_ANALOG : CCALL_AMS_UNKNOWN);
        if (call == nullptr) continue;
        s_AddConverters(call, &view);
        s_WirePorts(component, rec, call, &view);
    }
    s_MergeConverterEnds();
    s_InternalNodes();
    s_CheckNodes(component);
    CCALL_check_ccall();
    s_FreeTables();
    s_Empty(s_pins);
    s_Empty(s_declared);
}

void CCALL_checkExtCircuitExist(CircuitCallRecord* circuitCalls,
                                ExternalCircuitRecord* externalCircuits)
{
    for (CircuitCallRecord* c = circuitCalls; c != nullptr; c = c->next)
        if (s_FindExternal(externalCircuits, c->externalCircuitName) == nullptr)
            ERRLOG_ErrorNew(1808, (int)c->beginLine, c->externalCircuitName);
}

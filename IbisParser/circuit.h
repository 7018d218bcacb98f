// [Circuit Call] blocks of a component: their data lines, and the check of
// every call's ports and nodes after the file was read.
#ifndef IBISPARSER_CIRCUIT_H
#define IBISPARSER_CIRCUIT_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ComponentRecord ComponentRecord;
typedef struct ExternalCircuitRecord ExternalCircuitRecord;

typedef struct PortMapEntry {
    char portName[41];
    char nodeName[47];
    struct PortMapEntry* next;
} PortMapEntry;

typedef struct CircuitCallRecord {
    unsigned beginLine;
    char externalCircuitName[41];
    char firstReferencePin[6];
    char secondReferencePin[6];
    PortMapEntry* portMap;            // newest first
    struct CircuitCallRecord* next;
} CircuitCallRecord;

// Port kinds: bits of the kind of a circuit-call port, node or converter end.
enum {
    CCALL_NC = 0x1,
    CCALL_UNKNOWN = 0x2,
    CCALL_DIGITAL = 0x4,
    CCALL_DIGITAL_DRIVER = 0x8,
    CCALL_DIGITAL_RECEIVER = 0x10,
    CCALL_ANALOG_RESERVE = 0x20,
    CCALL_ANALOG_REFERENCE = 0x40,   // also marks two analog drivers meeting
    CCALL_ANALOG = 0x80,
    CCALL_ANALOG_PIN = 0x100,
    CCALL_ANALOG_DRIVER = 0x200,
    CCALL_RESERVED_DIGITAL = 0x400,
    CCALL_AMS_UNKNOWN = 0x800,
    CCALL_ANALOG_RECEIVER = 0x1000
};

// A new call of the [Circuit Call] line at beginLine naming the external
// circuit (cut to 40 characters with the setter's message); null when no
// memory is left.
CircuitCallRecord* CCALL_New(unsigned beginLine, const char* externalCircuitName);
// One data line into the newest call *current: 1, or 0 for an unknown
// sub-parameter or an incomplete Port_map line.
int CCALL_ParseLine(char* line, CircuitCallRecord** current);
// Error 1808 for each call whose external circuit is not in the list.
void CCALL_checkExtCircuitExist(CircuitCallRecord* circuitCalls,
                                ExternalCircuitRecord* externalCircuits);
void TestCcallErrors(void);
// The port and node check of one component's calls.
void CCALL_checkPortNode(ComponentRecord* component, ExternalCircuitRecord* externalCircuits);
// The words of a kind, in a buffer that the next call overwrites.
const char* CCALL_etype(unsigned kind);
// Frees the calls of a list with their Port_map entries.
void CCALL_FreeList(CircuitCallRecord* list);

#ifdef __cplusplus
}
#endif

#endif

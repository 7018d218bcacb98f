// [Circuit Call] blocks of a component.
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

int CCALL_ParseLine(char* line, CircuitCallRecord** current);
void CCALL_checkPortNode(ComponentRecord* component, ExternalCircuitRecord* externalCircuits);
// Frees the calls of a list with their Port_map entries.
void CCALL_FreeList(CircuitCallRecord* list);

#ifdef __cplusplus
}
#endif

#endif

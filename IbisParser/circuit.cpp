// [Circuit Call] blocks: the records and their release.  The data lines and
// the port and node checks come with the circuit-call module; until then a
// data line is taken without effect and the check finds nothing.
#include "circuit.h"

#include <stdlib.h>

#include "cmn.h"

#define CMN_MODULE_PATH "IbisParser/circuit"

int CCALL_ParseLine(char* line, CircuitCallRecord** current)
{
    CMN_ASSERT(line != nullptr && current != nullptr && *current != nullptr);
    return 1;
}

void CCALL_checkPortNode(ComponentRecord* component, ExternalCircuitRecord* externalCircuits)
{
    (void)component;
    (void)externalCircuits;
}

void CCALL_FreeList(CircuitCallRecord* list)
{
    while (list != nullptr) {
        CircuitCallRecord* next = list->next;
        PortMapEntry* port = list->portMap;
        while (port != nullptr) {
            PortMapEntry* after = port->next;
            free(port);
            port = after;
        }
        free(list);
        list = next;
    }
}

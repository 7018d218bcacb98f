// [External Model] and [External Circuit] records: their release, and the
// embedding entry that closes the current model.
#include "extern.h"

#include <stdio.h>
#include <stdlib.h>

#include "cmn.h"
#include "mdl.h"

#define CMN_MODULE_PATH "IbisParser/extern"

static void s_FreeNames(PortName* p)
{
    while (p != nullptr) {
        PortName* next = p->next;
        free(p->name);
        free(p);
        p = next;
    }
}

static void s_FreePorts(char* d, char* p1, char* p2)
{
    free(d);
    free(p1);
    free(p2);
}

static void s_FreeCorner(ExternalCorner* c)
{
    if (c == nullptr) return;
    for (D2AEntry* d = c->D_to_A; d != nullptr;) {
        D2AEntry* next = d->next;
        s_FreePorts(d->d_port, d->port1, d->port2);
        free(d);
        d = next;
    }
    for (A2DEntry* a = c->A_to_D; a != nullptr;) {
        A2DEntry* next = a->next;
        s_FreePorts(a->d_port, a->port1, a->port2);
        free(a);
        a = next;
    }
    free(c->fileName);
    free(c->circuitName);
    free(c);
}

void EXTERN_FreeData(ExternalModelData* data)
{
    if (data == nullptr) return;
    s_FreeCorner(data->Typ);
    s_FreeCorner(data->Min);
    s_FreeCorner(data->Max);
    s_FreeNames(data->DigitalPorts);
    s_FreeNames(data->Parameters);
    s_FreeNames(data->Ports);
    for (PortTypeEntry* t = data->PortTypes; t != nullptr;) {
        PortTypeEntry* next = t->next;
        free(t->portName);
        free(t);
        t = next;
    }
    EXT_FreeReadState(data->reading);
    free(data);
}

void EXT_FreeList(ExternalCircuitRecord* list)
{
    while (list != nullptr) {
        ExternalCircuitRecord* next = list->next;
        if (list == gCurrentExt) gCurrentExt = nullptr;
        EXTERN_FreeData(list->data);
        free(list);
        list = next;
    }
}

#ifndef _WIN32
void EXTERN_Fini(void)
{
    if (gCurrentModel == nullptr) return;
    fputs("IN EXTERN FINI\n", stdout);
    MDL_EndModel(gCurrentModel);
    gCurrentModel = nullptr;
}
#endif

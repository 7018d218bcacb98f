// [External Model] and [External Circuit] records.
#include "extern.h"

#include <stdio.h>
#include <stdlib.h>

#include "cmn.h"
#include "mdl.h"

#define CMN_MODULE_PATH "IbisParser/extern"

void EXTERN_FreeData(ExternalModelData* data)
{
    // No line of an [External Model] is stored yet, so the corner, port and
    // parameter lists are always empty here.
    free(data);
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

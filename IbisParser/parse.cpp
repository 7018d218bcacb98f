#include "parse.h"

#include "cmn.h"

#define CMN_MODULE_PATH "IbisParser/parse"

extern "C" {

/* The reader's position. */
char gsFileName[1025] = "";
unsigned long gulLineNum = 0;

unsigned long PARSE_GetLineNum(void) { return gulLineNum; }

char* PARSE_GetFileName(char* buffer)
{
    CMN_ASSERT(buffer != NULL);
    CMN_strncpy(buffer, gsFileName, 1024);
    return buffer;
}

void PARSE_SetPosition(const char* fileName, unsigned long lineNum)
{
    if (fileName != NULL)
        CMN_strncpy(gsFileName, fileName, sizeof gsFileName - 1);
    gulLineNum = lineNum;
}

} /* extern "C" */

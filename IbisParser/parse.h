/* The reader's position: the file and line being read, which the message
 * log prints. The reader keeps these as it reads. */
#ifndef IBISPARSER_PARSE_H
#define IBISPARSER_PARSE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Number of the line now being read (counted from 1 by the reader). */
unsigned long PARSE_GetLineNum(void);

/* Copies the name of the file being read (at most 1024 characters and a NUL)
 * into buffer, which must hold 1025 bytes; returns buffer. */
char* PARSE_GetFileName(char* buffer);

/* Sets the reader's position: for the reader itself, and for programs and
 * tests that raise line messages outside a read. A null name keeps the
 * current one. */
void PARSE_SetPosition(const char* fileName, unsigned long lineNum);

#ifdef __cplusplus
}
#endif

#endif /* IBISPARSER_PARSE_H */

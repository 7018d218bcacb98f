// The [Row]s of a package model's coupling matrix and the checks of their
// values against the matrix type.
#ifndef IBISPARSER_ROW_H
#define IBISPARSER_ROW_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct MatrixRow {
    struct MatrixRow* next;
    char name[6];
    unsigned selfCoupled;
    // Logical number of value slots; the values array holds only the first
    // uiCapacity of them and grows as values arrive.
    unsigned uiColumnCount;
    double** values;
    unsigned uiCapacity;
    unsigned uiFilled;     // slots filled from the first up to the first empty one
    unsigned uiPosition;   // 1-based position in the matrix
} MatrixRow;

// The rows of one matrix in file order, appended through the tail.
typedef struct MatrixRowList {
    MatrixRow* head;
    MatrixRow* tail;
    unsigned count;
} MatrixRowList;

// Adds a row of columnCount slots for pinName at the end of rows; 1 when the
// row was added (it is then the row being read), else 0.
int ROW_AddRow(MatrixRowList* rows, unsigned columnCount, const char* pinName);
// Store the values of one data line in row, the row being read.
void ROW_AddFullRowData(MatrixRow* row, char* text);
void ROW_AddBandedRowData(MatrixRow* row, char* text);
void ROW_AddSparseRowData(MatrixRow* row, char* text);
int ROW_ResizeColumns(MatrixRow* rows, unsigned newCount);
void ROW_CheckColumns(MatrixRow* rows, int checkColumnCount);
// The row being read, or null.
MatrixRow* ROW_Current(void);
void ROW_Fini(void);
void ROW_FreeList(MatrixRow* rows);

#ifdef __cplusplus
}
#endif

#endif

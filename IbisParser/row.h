// The [Row]s of a package model's coupling matrix and the checks of their
// values against the matrix type.
#ifndef IBISPARSER_ROW_H
#define IBISPARSER_ROW_H

#ifdef __cplusplus
extern "C" {
#endif

// One value of a sparse row: the column (the 1-based index of its pin) and
// the value.
typedef struct MatrixEntry {
    unsigned column;
    double value;
} MatrixEntry;

// A row holds only the values its lines give, so that its memory grows with
// them and never with the highest column named.
typedef struct MatrixRow {
    struct MatrixRow* next;
    char name[6];
    unsigned selfCoupled;
    unsigned uiColumnCount;   // the row's number of columns
    // Full and banded rows: the values in column order from the first
    // column, values[0] to values[uiCount - 1].  Sparse rows: the entries in
    // file order, entries[0] to entries[uiCount - 1].  The array in use holds
    // uiCapacity slots.
    double* values;
    MatrixEntry* entries;
    unsigned uiCapacity;
    unsigned uiCount;
    unsigned uiPosition;      // 1-based position in the matrix
} MatrixRow;

// The rows of one matrix in file order, appended through the tail.
typedef struct MatrixRowList {
    MatrixRow* head;
    MatrixRow* tail;
    unsigned count;
} MatrixRowList;

// Adds a row of columnCount columns for pinName at the end of rows, holding
// entries when sparse, else values; 1 when the row was added (it is then the
// row being read), else 0.
int ROW_AddRow(MatrixRowList* rows, unsigned columnCount, int sparse, const char* pinName);
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

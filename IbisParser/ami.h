/* The AMI parameter tree: the parenthesised syntax of IBIS-AMI parameter
 * strings and .ami files, for example (usb3_rx (xrx_process 0) (xboost 5)),
 * parsed into branches and leaves with typed values. */
#ifndef IBISPARSER_AMI_H
#define IBISPARSER_AMI_H

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of GetParsedTree. */
enum {
    AMI_TREE_OK = 0,
    AMI_TREE_UNBALANCED = 1,   /* parentheses unbalanced outside double quotes */
    AMI_TREE_NO_OPEN = 2,      /* first non-blank character is not '(' */
    AMI_TREE_NO_PARENT = 3,    /* null argument, or the first group is a leaf */
    AMI_TREE_NO_MEMORY = 4,    /* an allocation failed (1906/1907 logged) */
    AMI_TREE_NO_LEVEL = 5,     /* a second group at the outermost level */
    AMI_TREE_EXTRA_CLOSE = 6,  /* a ')' closes more groups than are open */
    AMI_TREE_TOO_MANY = 7,     /* more groups than the '(' count */
    AMI_TREE_BAD_TOKEN = 8     /* an empty group name */
};

typedef enum {
    VALUE_EMPTY = -1,
    VALUE_STRING = 0,
    VALUE_INTEGER = 1,
    VALUE_BOOLEAN = 2,
    VALUE_FLOAT = 3
} VALUE_TYPE;

/* Leaf names that the .ami checker knows. */
typedef enum {
    LEAF_OTHER = 0,
    LEAF_USAGE = 1,
    LEAF_TYPE = 2,
    LEAF_FORMAT = 3,
    LEAF_DEFAULT = 4,
    LEAF_DESCRIPTION = 5,
    LEAF_LABELS = 6
} LEAF_KEYWORD;

/* AMI words of a string value. */
typedef enum {
    STRING_NONE = -1,
    STRING_IN = 0,
    STRING_OUT = 1,
    STRING_INFO = 2,
    STRING_INOUT = 3,
    STRING_FLOAT = 4,
    STRING_INTEGER = 5,
    STRING_STRING = 6,
    STRING_BOOLEAN = 7,
    STRING_TAP = 8,
    STRING_UI = 9,
    STRING_VALUE = 10,
    STRING_RANGE = 11,
    STRING_LIST = 12,
    STRING_CORNER = 13,
    STRING_INCREMENT = 14,
    STRING_STEPS = 15,
    STRING_TABLE = 16,
    STRING_GAUSSIAN = 17,
    STRING_DUAL_DIRAC = 18,
    STRING_DJRJ = 19
} STRING_TYPE;

/* Node kinds. */
enum { NODE_BRANCH = 0, NODE_LEAF = 1 };

typedef struct _tagValueStruct {
    char* sValue;      /* token text; a quoted token without its quotes */
    int eValueType;    /* VALUE_TYPE */
    int eStringType;   /* STRING_TYPE, -1 unless a string holding an AMI word */
} VALUE_STRUCT;

typedef struct _tagNodeStruct {
    int eKind;         /* NODE_BRANCH or NODE_LEAF */
    int iLevel;        /* nesting depth; the outermost group is 1 */
    void* pRecord;     /* BRANCH_STRUCT*, LEAF_STRUCT*, or null for an unused entry */
} NODE_STRUCT;

typedef struct _tagBranchStruct {
    char* sName;
    NODE_STRUCT* pChildren;   /* copies of the direct children's entries */
    int iChildCount;
} BRANCH_STRUCT;

typedef struct _tagLeafStruct {
    char* sName;
    VALUE_STRUCT* pValues;
    int iValueCount;
    int eLeafKeyword;  /* LEAF_KEYWORD */
} LEAF_STRUCT;

/* The tree: one entry per group in document order (a branch before its
 * children). iNodeCount is the number of '(' outside double quotes; groups
 * that make no node (a leaf holding a nested table) leave entries at the end
 * without a record, which readers skip. The records are owned through pNodes
 * only. */
typedef struct _tagTree {
    NODE_STRUCT* pNodes;
    int iNodeCount;
} TREE_STRUCT, *PTREE;

/* Parses text into a new tree stored in *tree (the caller owns it; release
 * with FreeParsedTree). Returns AMI_TREE_OK, or a failure code with *tree
 * untouched and nothing left allocated. The text is not changed.
 *
 * A group with a name and nothing else, "(name)", is a leaf without values.
 * A leaf whose values hold a nested group (the rows of a "Table") is dropped
 * whole; when that leaf is the outermost group the result is
 * AMI_TREE_NO_PARENT. Tokens between a branch's children are skipped. */
int GetParsedTree(const char* text, PTREE* tree);

/* Releases *tree and sets it to null; a null pointer or null tree does nothing. */
void FreeParsedTree(PTREE* tree);

/* 1 when '(' and ')' outside double quotes are equally many (their number
 * goes to *count), else 0 (and 0 to *count). A null or empty text gives 1, 0. */
int ISValidBuffer(const char* text, int* count);

/* VALUE_TYPE of a value text. */
int GetValueType(const char* text);

/* Stores the STRING_TYPE of text in *kind; other texts leave *kind unchanged. */
void s_setStringType(int* kind, const char* text);

/* Fills nodes (at most *capacity entries) from the working copy of the text
 * in document order and lowers *capacity to the number filled. Returns
 * AMI_TREE_OK or a failure code: 6, 7, 8 as above, 1 for a group or quote
 * still open at the end of the text, 3 or 5 for a dropped leaf at the
 * outermost level (first or later group), 4 for a failed allocation. On
 * failure the records made so far stay in nodes (within the original
 * capacity) for the caller to release. */
int ScanForNodes(char* text, NODE_STRUCT* nodes, int* capacity);

#ifdef __cplusplus
}
#endif

#endif /* IBISPARSER_AMI_H */

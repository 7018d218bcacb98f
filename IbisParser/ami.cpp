#include "ami.h"

#include "cmn.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#define CMN_MODULE_PATH "IbisParser/ami"

namespace {

const char* const kLeafKeywords[] = {"Usage", "Type", "Format", "Default", "Description", "Labels"};

const char* const kStringTypes[] = {
    "In",    "Out",   "Info", "InOut",  "Float",     "Integer", "String", "Boolean",  "Tap",        "UI",
    "Value", "Range", "List", "Corner", "Increment", "Steps",   "Table",  "Gaussian", "Dual-Dirac", "DjRj",
};

int s_Blank(char c) { return CMN_IsWhitespace((unsigned char)c) != 0; }

/* Counts '(' and ')' outside double quotes; every quote flips the state. */
void s_CountParens(const char* text, size_t* opens, size_t* closes)
{
    size_t o = 0;
    size_t c = 0;
    int quoted = 0;
    for (const char* p = text; *p; ++p) {
        if (*p == '"')
            quoted = !quoted;
        else if (!quoted && *p == '(')
            ++o;
        else if (!quoted && *p == ')')
            ++c;
    }
    *opens = o;
    *closes = c;
}

/* A new string of len characters from start; the allocator logs a failure. */
char* s_MakeToken(const char* start, size_t len)
{
    void* token = NULL;
    if (!CMN_malloc(&token, len + 1))
        return NULL;
    memcpy(token, start, len);
    return (char*)token;
}

int s_LeafKeyword(const char* name)
{
    for (int i = 0; i < (int)(sizeof kLeafKeywords / sizeof kLeafKeywords[0]); ++i)
        if (strcmp(name, kLeafKeywords[i]) == 0)
            return i + 1;
    return LEAF_OTHER;
}

void s_FreeLeaf(LEAF_STRUCT* leaf)
{
    for (int i = 0; i < leaf->iValueCount; ++i)
        free(leaf->pValues[i].sValue);
    free(leaf->pValues);
    free(leaf->sName);
    free(leaf);
}

void s_FreeBranch(BRANCH_STRUCT* branch)
{
    free(branch->sName);
    free(branch->pChildren);
    free(branch);
}

void s_FreeEntry(NODE_STRUCT* node)
{
    if (node->pRecord == NULL)
        return;
    if (node->eKind == NODE_BRANCH)
        s_FreeBranch((BRANCH_STRUCT*)node->pRecord);
    else
        s_FreeLeaf((LEAF_STRUCT*)node->pRecord);
    node->pRecord = NULL;
    node->eKind = 0;
    node->iLevel = 0;
}

/* Appends one value to a leaf being read. The array grows by doubling into a
 * fresh block, so a failed allocation leaves the values read so far intact
 * for release. */
int s_AppendValue(LEAF_STRUCT* leaf, int* room, char* text)
{
    if (leaf->iValueCount == *room) {
        if (*room > INT_MAX / 2)
            return 0;
        int grown = *room ? *room * 2 : 4;
        void* block = NULL;
        if (!CMN_malloc(&block, (size_t)grown * sizeof(VALUE_STRUCT)))
            return 0;
        if (leaf->iValueCount)
            memcpy(block, leaf->pValues, (size_t)leaf->iValueCount * sizeof(VALUE_STRUCT));
        free(leaf->pValues);
        leaf->pValues = (VALUE_STRUCT*)block;
        *room = grown;
    }
    VALUE_STRUCT* value = &leaf->pValues[leaf->iValueCount++];
    value->sValue = text;
    value->eStringType = STRING_NONE;
    value->eValueType = GetValueType(text);
    if (value->eValueType == VALUE_STRING)
        s_setStringType(&value->eStringType, text);
    return 1;
}

/* Links every filled entry to its parent branch. Two passes: the first counts
 * each branch's children so that every child array is allocated once. */
int s_Link(NODE_STRUCT* nodes, int filled)
{
    if (filled == 0 || nodes[0].eKind != NODE_BRANCH || nodes[0].pRecord == NULL)
        return AMI_TREE_NO_PARENT;
    void* block = NULL;
    if (!CMN_malloc(&block, (size_t)filled * sizeof(int)))
        return AMI_TREE_NO_MEMORY;
    int* stack = (int*)block;
    int rc = AMI_TREE_OK;
    for (int pass = 0; pass < 2 && rc == AMI_TREE_OK; ++pass) {
        int top = 0;
        stack[0] = 0;
        for (int i = 1; i < filled; ++i) {
            int level = nodes[i].iLevel;
            while (top >= 0 && nodes[stack[top]].iLevel >= level)
                --top;
            if (top < 0) {
                rc = AMI_TREE_NO_LEVEL;
                break;
            }
            const NODE_STRUCT& parent = nodes[stack[top]];
            if (level != parent.iLevel + 1)
                continue; /* deeper than a child: kept in the flat array only */
            BRANCH_STRUCT* branch = (BRANCH_STRUCT*)parent.pRecord;
            if (pass == 0)
                ++branch->iChildCount;
            else
                branch->pChildren[branch->iChildCount++] = nodes[i];
            if (nodes[i].eKind == NODE_BRANCH)
                stack[++top] = i;
        }
        if (pass == 0 && rc == AMI_TREE_OK) {
            for (int i = 0; i < filled && rc == AMI_TREE_OK; ++i) {
                if (nodes[i].eKind != NODE_BRANCH)
                    continue;
                BRANCH_STRUCT* branch = (BRANCH_STRUCT*)nodes[i].pRecord;
                int children = branch->iChildCount;
                branch->iChildCount = 0;
                if (children == 0)
                    continue;
                void* array = NULL;
                if (!CMN_malloc(&array, (size_t)children * sizeof(NODE_STRUCT)))
                    rc = AMI_TREE_NO_MEMORY;
                branch->pChildren = (NODE_STRUCT*)array;
            }
        }
    }
    free(stack);
    return rc;
}

/* Releases the records of the first count entries, the array and the header. */
void s_FreeTree(TREE_STRUCT* tree)
{
    if (tree->pNodes != NULL) {
        for (int i = 0; i < tree->iNodeCount; ++i)
            s_FreeEntry(&tree->pNodes[i]);
        free(tree->pNodes);
    }
    free(tree);
}

} // namespace

extern "C" {

int ISValidBuffer(const char* text, int* count)
{
    size_t opens = 0;
    size_t closes = 0;
    if (text != NULL)
        s_CountParens(text, &opens, &closes);
    int ok = opens == closes && opens <= (size_t)INT_MAX;
    if (count != NULL)
        *count = ok ? (int)opens : 0;
    return ok;
}

int GetValueType(const char* text)
{
    if (text == NULL || text[0] == '\0')
        return VALUE_EMPTY;
    char* end = NULL;
    (void)strtol(text, &end, 10);
    if (end != text && *end == '\0')
        return VALUE_INTEGER;
    (void)strtod(text, &end);
    if (end != text && *end == '\0')
        return VALUE_FLOAT;
    if (strcmp(text, "True") == 0 || strcmp(text, "False") == 0)
        return VALUE_BOOLEAN;
    return VALUE_STRING;
}

void s_setStringType(int* kind, const char* text)
{
    if (kind == NULL || text == NULL)
        return;
    for (int i = 0; i < (int)(sizeof kStringTypes / sizeof kStringTypes[0]); ++i) {
        if (strcmp(text, kStringTypes[i]) == 0) {
            *kind = i;
            return;
        }
    }
}

/* One pass over the text with an explicit depth count, so nesting of any
 * depth costs no stack. Each group is either a branch (name, then '('), a
 * leaf (name, then values up to its ')'), or a leaf without values (name,
 * then ')'). */
int ScanForNodes(char* text, NODE_STRUCT* nodes, int* capacity)
{
    CMN_ASSERT(text != NULL);
    CMN_ASSERT(nodes != NULL);
    CMN_ASSERT(capacity != NULL);
    const int groups = *capacity;
    int filled = 0;
    int consumed = 0;
    int depth = 0;
    char* p = text;

    for (;;) {
        CMN_EatWhitespace(&p);
        if (*p == '\0') {
            if (depth > 0)
                return AMI_TREE_UNBALANCED;
            break;
        }
        if (*p == ')') {
            if (depth == 0)
                return AMI_TREE_EXTRA_CLOSE;
            --depth;
            ++p;
            if (depth == 0 && consumed == groups)
                break; /* text after the last group is ignored */
            continue;
        }
        if (*p != '(') {
            /* A stray token between groups: step over it (and any quoted run
             * in it, as the parenthesis count does). */
            while (*p && !s_Blank(*p) && *p != '(' && *p != ')') {
                if (*p == '"') {
                    char* close = strchr(p + 1, '"');
                    if (close == NULL)
                        return AMI_TREE_UNBALANCED;
                    p = close;
                }
                ++p;
            }
            continue;
        }

        /* A new group. */
        if (consumed == groups)
            return AMI_TREE_TOO_MANY;
        const int groupNumber = ++consumed;
        ++depth;
        ++p;
        CMN_EatWhitespace(&p);
        char* name = p;
        while (*p && !s_Blank(*p) && *p != '(' && *p != ')')
            ++p;
        if (*p == '\0')
            return AMI_TREE_UNBALANCED;
        if (p == name)
            return AMI_TREE_BAD_TOKEN;
        const size_t nameLen = (size_t)(p - name);
        CMN_EatWhitespace(&p);

        if (filled == groups)
            return AMI_TREE_TOO_MANY;
        NODE_STRUCT* entry = &nodes[filled];

        if (*p == '(') {
            void* record = NULL;
            if (!CMN_malloc(&record, sizeof(BRANCH_STRUCT)))
                return AMI_TREE_NO_MEMORY;
            entry->eKind = NODE_BRANCH;
            entry->iLevel = depth;
            entry->pRecord = record;
            BRANCH_STRUCT* branch = (BRANCH_STRUCT*)record;
            branch->sName = s_MakeToken(name, nameLen);
            if (branch->sName == NULL)
                return AMI_TREE_NO_MEMORY;
            ++filled;
            continue; /* the '(' opens the first child */
        }

        /* A leaf: values up to its ')'. The entry holds the record while it
         * is read, so a failure part-way leaves nothing unowned. */
        void* record = NULL;
        if (!CMN_malloc(&record, sizeof(LEAF_STRUCT)))
            return AMI_TREE_NO_MEMORY;
        entry->eKind = NODE_LEAF;
        entry->iLevel = depth;
        entry->pRecord = record;
        LEAF_STRUCT* leaf = (LEAF_STRUCT*)record;
        leaf->sName = s_MakeToken(name, nameLen);
        if (leaf->sName == NULL)
            return AMI_TREE_NO_MEMORY;
        leaf->eLeafKeyword = s_LeafKeyword(leaf->sName);
        int room = 0;
        int dropped = 0;
        for (;;) {
            CMN_EatWhitespace(&p);
            if (*p == '\0')
                return AMI_TREE_UNBALANCED;
            if (*p == ')') {
                ++p;
                --depth;
                break;
            }
            if (*p == '(') {
                /* A nested table among the values: the leaf is dropped and
                 * the text skipped to the ')' that closes it. */
                s_FreeEntry(entry);
                dropped = 1;
                int nested = 0;
                for (;;) {
                    if (*p == '\0')
                        return AMI_TREE_UNBALANCED;
                    if (*p == '"') {
                        char* close = strchr(p + 1, '"');
                        if (close == NULL)
                            return AMI_TREE_UNBALANCED;
                        p = close;
                    } else if (*p == '(') {
                        if (consumed == groups)
                            return AMI_TREE_TOO_MANY;
                        ++consumed;
                        ++nested;
                    } else if (*p == ')') {
                        if (nested == 0)
                            break;
                        --nested;
                    }
                    ++p;
                }
                ++p;
                --depth;
                break;
            }
            /* A value token; a double quote starts a quoted run whose text is
             * the value, blanks and parentheses included. */
            char* start = p;
            while (*p && !s_Blank(*p) && *p != '(' && *p != ')' && *p != '"')
                ++p;
            size_t len = (size_t)(p - start);
            if (*p == '"') {
                start = p + 1;
                char* close = strchr(start, '"');
                if (close == NULL)
                    return AMI_TREE_UNBALANCED;
                char* end = close;
                while (end > start && s_Blank(end[-1]))
                    --end;
                len = (size_t)(end - start);
                p = close + 1;
            }
            char* value = s_MakeToken(start, len);
            if (value == NULL)
                return AMI_TREE_NO_MEMORY;
            if (!s_AppendValue(leaf, &room, value)) {
                free(value);
                return AMI_TREE_NO_MEMORY;
            }
        }
        if (dropped) {
            /* At the outermost level the dropped leaf still decides the
             * outcome, as if it had been linked. */
            if (depth == 0)
                return groupNumber == 1 ? AMI_TREE_NO_PARENT : AMI_TREE_NO_LEVEL;
        } else {
            ++filled;
        }
        if (depth == 0 && consumed == groups)
            break;
    }
    *capacity = filled;
    return AMI_TREE_OK;
}

int GetParsedTree(const char* text, PTREE* tree)
{
    if (text == NULL || tree == NULL)
        return AMI_TREE_NO_PARENT;
    char* first = const_cast<char*>(text); /* the scanner only reads */
    CMN_EatWhitespace(&first);
    if (*first != '(')
        return AMI_TREE_NO_OPEN;
    size_t opens = 0;
    size_t closes = 0;
    s_CountParens(text, &opens, &closes);
    if (opens != closes)
        return AMI_TREE_UNBALANCED;
    /* More groups than a tree can count, or an entry array whose size would
     * wrap round (a 32-bit build) and be allocated too small. */
    if (opens > (size_t)INT_MAX || opens > SIZE_MAX / sizeof(NODE_STRUCT))
        return AMI_TREE_NO_MEMORY;
    const int groups = (int)opens;

    void* header = NULL;
    if (!CMN_malloc(&header, sizeof(TREE_STRUCT)))
        return AMI_TREE_NO_MEMORY;
    TREE_STRUCT* built = (TREE_STRUCT*)header;
    void* array = NULL;
    if (!CMN_malloc(&array, (size_t)groups * sizeof(NODE_STRUCT))) {
        s_FreeTree(built);
        return AMI_TREE_NO_MEMORY;
    }
    built->pNodes = (NODE_STRUCT*)array;
    built->iNodeCount = groups;

    char* copy = CMN_StrMake(text);
    if (copy == NULL) {
        s_FreeTree(built);
        return AMI_TREE_NO_MEMORY;
    }
    int filled = groups;
    int rc = ScanForNodes(copy, built->pNodes, &filled);
    free(copy);
    if (rc == AMI_TREE_OK)
        rc = s_Link(built->pNodes, filled);
    if (rc != AMI_TREE_OK) {
        s_FreeTree(built);
        return rc;
    }
    *tree = built;
    return AMI_TREE_OK;
}

void FreeParsedTree(PTREE* tree)
{
    if (tree == NULL || *tree == NULL)
        return;
    s_FreeTree(*tree);
    *tree = NULL;
}

} /* extern "C" */

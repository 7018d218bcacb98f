#include "AmiParamParser.h"

#include <cctype>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace Quenrix {
namespace AMI {

namespace {

// Length of the branch name when key continues with it and a '.', else 0.
size_t MatchComponent(const char* key, const char* branchName)
{
    size_t len = std::strlen(branchName);
    if (std::strncmp(key, branchName, len) == 0 && key[len] == '.')
        return len + 1;
    return 0;
}

bool SameIgnoringCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
        if (*a == '\0')
            return true;
    }
}

const VALUE_STRUCT* FirstValue(const LEAF_STRUCT* leaf)
{
    if (leaf == nullptr || leaf->iValueCount < 1 || leaf->pValues == nullptr)
        return nullptr;
    return &leaf->pValues[0];
}

} // namespace

ParamParser::ParamParser(const char* text)
    : m_bIsValid(false), m_pOutTree(nullptr)
{
    if (text == nullptr)
        return;
    size_t len = std::strlen(text);
    char* copy = new (std::nothrow) char[len + 1];
    if (copy == nullptr)
        return;
    std::memcpy(copy, text, len + 1);
    m_bIsValid = GetParsedTree(copy, &m_pOutTree) == AMI_TREE_OK;
    delete[] copy;
}

ParamParser::~ParamParser()
{
    FreeParsedTree(&m_pOutTree);
}

LEAF_STRUCT* ParamParser::GetLeaf(const char* name)
{
    if (!m_bIsValid || m_pOutTree == nullptr || name == nullptr)
        return nullptr;
    if (m_pOutTree->iNodeCount < 1 || m_pOutTree->pNodes[0].pRecord == nullptr ||
        m_pOutTree->pNodes[0].eKind != NODE_BRANCH)
        return nullptr;
    return FindLeafWithName(static_cast<const BRANCH_STRUCT*>(m_pOutTree->pNodes[0].pRecord), name, "");
}

// Depth-first in document order; the first leaf whose dotted path equals
// name wins. Only branches whose path begins the key are entered, and the
// walk keeps its own stack, so neither deep trees nor long paths cost
// recursion or path copies.
LEAF_STRUCT* ParamParser::FindLeafWithName(const BRANCH_STRUCT* branch, const char* name, const char* prefix)
{
    if (branch == nullptr || name == nullptr || branch->iChildCount < 1 || branch->sName == nullptr)
        return nullptr;
    // Offset of the rest of the key below this branch.
    size_t offset = 0;
    if (prefix != nullptr && prefix[0] != '\0') {
        offset = MatchComponent(name, prefix);
        if (offset == 0)
            return nullptr;
    }
    size_t step = MatchComponent(name + offset, branch->sName);
    if (step == 0)
        return nullptr;

    struct Frame {
        const BRANCH_STRUCT* branch;
        int next;
        size_t offset;
    };
    std::vector<Frame> stack;
    stack.push_back(Frame{branch, 0, offset + step});
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next >= top.branch->iChildCount) {
            stack.pop_back();
            continue;
        }
        const NODE_STRUCT& child = top.branch->pChildren[top.next++];
        if (child.pRecord == nullptr)
            continue;
        const char* rest = name + top.offset;
        if (child.eKind == NODE_LEAF) {
            LEAF_STRUCT* leaf = static_cast<LEAF_STRUCT*>(child.pRecord);
            if (leaf->sName != nullptr && std::strcmp(rest, leaf->sName) == 0)
                return leaf;
            continue;
        }
        const BRANCH_STRUCT* sub = static_cast<const BRANCH_STRUCT*>(child.pRecord);
        if (sub->sName == nullptr || sub->iChildCount < 1)
            continue;
        size_t more = MatchComponent(rest, sub->sName);
        if (more != 0)
            stack.push_back(Frame{sub, 0, top.offset + more});
    }
    return nullptr;
}

bool ParamParser::IsParamLeafBranch(const BRANCH_STRUCT* branch)
{
    return branch != nullptr && branch->iChildCount > 0 && branch->pChildren != nullptr &&
           branch->pChildren[0].eKind == NODE_LEAF;
}

bool ParamParser::GetValue(double& out, const char* name)
{
    const VALUE_STRUCT* value = FirstValue(GetLeaf(name));
    if (value == nullptr || (value->eValueType != VALUE_INTEGER && value->eValueType != VALUE_FLOAT))
        return false;
    out = std::strtod(value->sValue, nullptr);
    return true;
}

// A value outside the range of int (or not a number) cannot be represented:
// it is refused like a missing one, so the caller keeps its default.
bool ParamParser::GetValue(int& out, const char* name)
{
    double d = 0.0;
    if (!GetValue(d, name))
        return false;
    double t = std::trunc(d);
    if (!(t >= static_cast<double>(INT_MIN) && t <= static_cast<double>(INT_MAX)))
        return false;
    out = static_cast<int>(t);
    return true;
}

bool ParamParser::GetValue(bool& out, const char* name)
{
    const VALUE_STRUCT* value = FirstValue(GetLeaf(name));
    if (value == nullptr || value->eValueType != VALUE_BOOLEAN)
        return false;
    out = SameIgnoringCase(value->sValue, "true");
    return true;
}

bool ParamParser::GetValue(char*& out, const char* name)
{
    const VALUE_STRUCT* value = FirstValue(GetLeaf(name));
    if (value == nullptr || value->eValueType != VALUE_STRING)
        return false;
    size_t len = std::strlen(value->sValue);
    char* copy = new (std::nothrow) char[len + 1];
    if (copy == nullptr)
        return false;
    std::memcpy(copy, value->sValue, len + 1);
    delete[] out;
    out = copy;
    return true;
}

} // namespace AMI
} // namespace Quenrix

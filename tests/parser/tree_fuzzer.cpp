// Feeds arbitrary text to the tree parser and the lookup: every outcome must
// be a defined code, the tree's links must agree with its flat array, and
// nothing may leak or read past the text.
#include "AmiParamParser.h"
#include "ami.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void Walk(PTREE tree)
{
    Check(tree->iNodeCount >= 1);
    Check(tree->pNodes[0].eKind == NODE_BRANCH && tree->pNodes[0].pRecord != nullptr);
    Check(tree->pNodes[0].iLevel == 1);
    bool tail = false;
    for (int i = 0; i < tree->iNodeCount; ++i) {
        const NODE_STRUCT& n = tree->pNodes[i];
        if (n.pRecord == nullptr) {
            tail = true;  // unused entries only at the end
            continue;
        }
        Check(!tail);
        if (n.eKind == NODE_BRANCH) {
            const BRANCH_STRUCT* b = static_cast<const BRANCH_STRUCT*>(n.pRecord);
            Check(b->sName != nullptr && b->sName[0] != '\0');
            for (int c = 0; c < b->iChildCount; ++c) {
                Check(b->pChildren[c].pRecord != nullptr);
                Check(b->pChildren[c].iLevel == n.iLevel + 1);
            }
        } else {
            Check(n.eKind == NODE_LEAF);
            const LEAF_STRUCT* l = static_cast<const LEAF_STRUCT*>(n.pRecord);
            Check(l->sName != nullptr);
            for (int v = 0; v < l->iValueCount; ++v) {
                Check(l->pValues[v].sValue != nullptr);
                Check(l->pValues[v].eValueType == GetValueType(l->pValues[v].sValue));
            }
            if (i > 0)
                Check(n.iLevel >= 2);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str();  // the parser takes a NUL-terminated text
    PTREE tree = nullptr;
    int rc = GetParsedTree(text.c_str(), &tree);
    Check(rc >= 0 && rc <= 8);
    Check((rc == 0) == (tree != nullptr));
    if (tree != nullptr) {
        Walk(tree);
        // Look up the first leaf under the root by its dotted path.
        const BRANCH_STRUCT* root = static_cast<const BRANCH_STRUCT*>(tree->pNodes[0].pRecord);
        for (int c = 0; c < root->iChildCount; ++c) {
            if (root->pChildren[c].eKind != NODE_LEAF)
                continue;
            const LEAF_STRUCT* leaf = static_cast<const LEAF_STRUCT*>(root->pChildren[c].pRecord);
            std::string key = std::string(root->sName) + "." + leaf->sName;
            Quenrix::AMI::ParamParser p(text.c_str());
            LEAF_STRUCT* found = p.GetLeaf(key.c_str());
            // Dotted names can spell the same key as a deeper leaf that
            // comes first, so only the presence of a hit is certain.
            Check(found != nullptr);
            double d = 0;
            int i = 0;
            bool b = false;
            char* s = nullptr;
            p.GetValue(d, key.c_str());
            p.GetValue(i, key.c_str());
            p.GetValue(b, key.c_str());
            p.GetValue(s, key.c_str());
            delete[] s;
            break;
        }
        FreeParsedTree(&tree);
        Check(tree == nullptr);
    }
    return 0;
}

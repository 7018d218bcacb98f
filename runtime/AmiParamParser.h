// Typed lookup of AMI parameters by the full dotted path of a leaf from the
// root branch, for example "usb3_rx.xboost". The parameter string is parsed
// once at construction; a string that does not parse leaves an object on
// which every lookup fails, so callers keep their defaults.
#pragma once

#include "ami.h"

namespace Quenrix {
namespace AMI {

class ParamParser {
public:
    explicit ParamParser(const char* text);
    ~ParamParser();

    // The object owns its tree.
    ParamParser(const ParamParser&) = delete;
    ParamParser& operator=(const ParamParser&) = delete;

    // Each reads the leaf's first value; false (output unchanged) when the
    // leaf is missing, has no values or holds another type.
    bool GetValue(double& out, const char* name);
    bool GetValue(int& out, const char* name);    // truncated toward zero
    bool GetValue(bool& out, const char* name);   // only "True" / "False"
    // Deletes the caller's previous array and hands over a new copy.
    bool GetValue(char*& out, const char* name);

    LEAF_STRUCT* GetLeaf(const char* name);
    LEAF_STRUCT* FindLeafWithName(const BRANCH_STRUCT* branch, const char* name, const char* prefix);
    bool IsParamLeafBranch(const BRANCH_STRUCT* branch);

private:
    bool m_bIsValid;
    PTREE m_pOutTree;
};

} // namespace AMI
} // namespace Quenrix

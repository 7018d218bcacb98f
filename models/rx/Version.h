// Version record of the code generator that produced the model classes.
#pragma once

namespace QuenrixCodeGen {

extern const char* const FileDescription;
extern const char* const FileVersion;
extern const char* const ProductName;
extern const char* const ProductVersion;
extern const char* const CompanyName;
extern const char* const LegalCopyright;

#ifndef _WIN32
// Prints the six lines of the record to standard output. Each Linux library
// exports it, for a host to ask which generator built the model; two models
// of this code generator in one process then both export this name, and each
// library binds its own calls to its own (see quenrix_model_exports). The
// Windows builds state their version in the DLL's version resource instead.
void version();
#endif

} // namespace QuenrixCodeGen

// [Package] values of a component: R_pkg, L_pkg and C_pkg.
#ifndef IBISPARSER_PKG_H
#define IBISPARSER_PKG_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct TypMinMax TypMinMax;

typedef struct PackageRecord {
    TypMinMax* R_pkg;   // null until its line was read
    TypMinMax* L_pkg;
    TypMinMax* C_pkg;
} PackageRecord;

int PKG_New(PackageRecord** out);
void PKG_ReceiveLine(PackageRecord* pkg, char* text);
void PKG_Test(PackageRecord* pkg, const char* componentName);
void PKG_Free(PackageRecord* pkg);

#ifdef __cplusplus
}
#endif

#endif

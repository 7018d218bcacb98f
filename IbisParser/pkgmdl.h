// Package models: the search of the .pkg files beside an .ibs file for a
// package model that the .ibs file names but does not define.
#ifndef IBISPARSER_PKGMDL_H
#define IBISPARSER_PKGMDL_H

#ifdef __cplusplus
extern "C" {
#endif

// Reads, into the top container, every .pkg file beside the .ibs file that
// defines the package model; 1 when a file was read.  A file is read at most
// once between two calls of PKGMDL_ResetPkgSearch.
int PKGMDL_FindPkgFile(const char* modelName);
void PKGMDL_ResetPkgSearch(void);

#ifdef __cplusplus
}
#endif

#endif

// One whole read-and-check pass (INIT, PARSE, TEST, FINI) over arbitrary
// bytes.  The first byte chooses the file kind (.ibs, .pkg, .ebd, .ami); the
// rest is written to a file with that extension.  A line "|@ref" splits off
// the text of a second file, written beside the first as ref.ibs, ref.ebd,
// ref.pkg and ref.ami, for the first file's references to find: the files a
// board's [Reference Designator Map] names, the parameter files of an
// [Algorithmic Model], the package files searched for a package model.
// Boards are checked with their references on, so the nested pass that reads
// and checks the referenced files runs too.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"

namespace {

const char* const kFiles[] = {"fuzz.ibs", "fuzz.pkg", "fuzz.ebd", "fuzz.ami",
                              "ref.ibs",  "ref.ebd",  "ref.pkg",  "ref.ami"};

void WriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) abort();
    if (size > 0) fwrite(data, 1, size, f);
    fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::string dir;
    if (dir.empty()) {
        char tmpl[] = "/tmp/ibis_fuzz_XXXXXX";
        if (mkdtemp(tmpl) == nullptr) abort();
        dir = tmpl;
        atexit([] {
            for (const char* name : kFiles) remove((dir + "/" + name).c_str());
            rmdir(dir.c_str());
        });
        PARSE_SuppressBanners(1);
        ERRLOG_SetOutputFile(fopen("/dev/null", "w"));
    }
    if (size < 1) return 0;
    // Nothing of an earlier input stays for this one's references to find,
    // so that a finding repeats from its input alone.
    for (const char* name : kFiles) remove((dir + "/" + name).c_str());

    static const char* const ext[] = {".ibs", ".pkg", ".ebd", ".ami"};
    int kind = data[0] % 4;
    const uint8_t* text = data + 1;
    size_t length = size - 1;
    static const char kSplit[] = "\n|@ref\n";
    const size_t splitLength = sizeof kSplit - 1;
    size_t first = length;
    for (size_t i = 0; i + splitLength <= length; i++) {
        if (memcmp(text + i, kSplit, splitLength) == 0) {
            first = i;
            break;
        }
    }
    std::string path = dir + "/fuzz" + ext[kind];
    // The first file keeps its last line's newline.
    WriteFile(path, text, first < length ? first + 1 : length);
    if (first < length) {
        const uint8_t* second = text + first + splitLength;
        size_t secondLength = length - first - splitLength;
        for (const char* name : {"ref.ibs", "ref.ebd", "ref.pkg", "ref.ami"})
            WriteFile(dir + "/" + name, second, secondLength);
    }

    // Each input is read as in a fresh process, so that a finding repeats.
    geFileVersion = 0;
    int type = kind + 1;
    if (INIT()) {
        if (PARSE(path.c_str(), type)) (TEST)(type, 0);
    }
    FINI();
    if (gsBuffer != nullptr) {
        free(gsBuffer);
        gsBuffer = nullptr;
    }
    return 0;
}

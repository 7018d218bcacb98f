// One whole read-and-check pass (INIT, PARSE, TEST, FINI) over arbitrary
// bytes.  The first byte chooses the file kind (.ibs, .pkg, .ebd, .ami); the
// rest is written to a file with that extension.
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::string dir;
    if (dir.empty()) {
        char tmpl[] = "/tmp/ibis_fuzz_XXXXXX";
        if (mkdtemp(tmpl) == nullptr) abort();
        dir = tmpl;
        atexit([] {
            for (const char* e : {".ibs", ".pkg", ".ebd", ".ami"}) remove((dir + "/fuzz" + e).c_str());
            rmdir(dir.c_str());
        });
        PARSE_SuppressBanners(1);
        ERRLOG_SetOutputFile(fopen("/dev/null", "w"));
    }
    if (size < 1) return 0;
    static const char* const ext[] = {".ibs", ".pkg", ".ebd", ".ami"};
    int kind = data[0] % 4;
    std::string path = dir + "/fuzz" + ext[kind];
    FILE* f = fopen(path.c_str(), "wb");
    if (f == nullptr) abort();
    fwrite(data + 1, 1, size - 1, f);
    fclose(f);

    // Each input is read as in a fresh process, so that a finding repeats.
    geFileVersion = 0;
    int type = kind + 1;
    if (INIT()) {
        if (PARSE(path.c_str(), type)) (TEST)(type, 1);
    }
    FINI();
    if (gsBuffer != nullptr) {
        free(gsBuffer);
        gsBuffer = nullptr;
    }
    return 0;
}

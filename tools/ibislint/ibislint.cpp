// ibislint: checks IBIS (.ibs), package (.pkg), board (.ebd) and AMI parameter
// (.ami) files.  One read-and-check pass per file named on the command line;
// the exit status is 1 when any file failed (it could not be read, or its
// pass reported a bug or an error), 2 for a usage error, else 0.
#include <stdio.h>
#include <string.h>
#include <strings.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cmn.h"
#include "errlog.h"
#include "ibis.h"
#include "parse.h"

static void s_Usage(FILE* out)
{
    fprintf(out,
            "usage: ibislint [-n] [-c] [-q] file...\n"
            "  -n  print message codes (E0905 instead of ERROR)\n"
            "  -c  show cautions\n"
            "  -q  no version banners\n"
            "The kind of each file is taken from its extension: .ibs, .pkg, .ebd or .ami.\n");
}

static int s_FileType(const char* path)
{
    const char* slash = CMN_LastDirSeparator(path);
    const char* base = slash ? slash + 1 : path;
    const char* dot = strrchr(base, '.');
    if (dot == nullptr) return 0;
    static const char* const ext[] = {nullptr, ".ibs", ".pkg", ".ebd", ".ami"};
    for (int t = FILE_IBS; t <= FILE_AMI; t++)
        if (strcasecmp(dot, ext[t]) == 0) return t;
    return 0;
}

static int s_Check(const char* path, int fileType)
{
    unsigned long bugs0 = gulBug_cnt, errors0 = gulError_cnt;
    int read = 0;
    if (INIT()) {
        read = PARSE(path, fileType);
        if (read) TEST(fileType, 0);
    }
    FINI();
    fflush(stdout);
    return read && gulBug_cnt == bugs0 && gulError_cnt == errors0;
}

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The report is the same bytes on every platform: its lines end in LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    int first = 1;
    for (; first < argc && argv[first][0] == '-' && argv[first][1] != '\0'; first++) {
        const char* opt = argv[first];
        if (strcmp(opt, "--") == 0) {
            first++;
            break;
        }
        if (strcmp(opt, "-n") == 0 || strcmp(opt, "--numbered") == 0) {
            gbOldStyleErrors = 0;
        } else if (strcmp(opt, "-c") == 0 || strcmp(opt, "--cautions") == 0) {
            gbSuppressCautions = 0;
        } else if (strcmp(opt, "-q") == 0 || strcmp(opt, "--no-banners") == 0) {
            PARSE_SuppressBanners(1);
        } else if (strcmp(opt, "-h") == 0 || strcmp(opt, "--help") == 0) {
            s_Usage(stdout);
            return 0;
        } else {
            fprintf(stderr, "ibislint: unknown option '%s'\n", opt);
            s_Usage(stderr);
            return 2;
        }
    }
    if (first >= argc) {
        s_Usage(stderr);
        return 2;
    }
    int failed = 0;
    for (int i = first; i < argc; i++) {
        int type = s_FileType(argv[i]);
        if (type == 0) {
            fprintf(stderr, "ibislint: %s: not an .ibs, .pkg, .ebd or .ami file\n", argv[i]);
            failed = 1;
            continue;
        }
        // A name given on the command line is relative to the working
        // directory, not to the directory of the file checked before it.
        gsFilePath_ibs[0] = '\0';
        if (!s_Check(argv[i], type)) failed = 1;
    }
    return failed ? 1 : 0;
}

// ibislint: checks IBIS (.ibs), package (.pkg), board (.ebd) and AMI parameter
// (.ami) files.  One read-and-check pass per file named on the command line;
// the exit status is 1 when any file failed (it could not be read, its pass
// reported a bug or an error, or it is none of the four kinds), 2 for a usage
// error or a report that could not be written to standard output, else 0.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cmn.h"
#include "errlog.h"
#include "file_reason.h"
#include "ibis.h"
#include "parse.h"
#include "report_output.h"

static void s_Usage(FILE* out)
{
    fprintf(out,
            "usage: ibislint [-n] [-c] [-q] [--] file...\n"
            "  -n, --numbered    print message codes (E0905 instead of ERROR)\n"
            "  -c, --cautions    show cautions\n"
            "  -q, --no-banners  no version banners\n"
            "  -h, --help        print this text\n"
            "Options may stand anywhere among the files and be combined (-ncq); every\n"
            "word after \"--\" is a file. The kind of each file is taken from its\n"
            "extension: .ibs, .pkg, .ebd or .ami. With -q and several files, a line\n"
            "\"==> file <==\" comes before each file's messages.\n"
            "Exit status: 0 every file passed; 1 a file failed (it could not be read,\n"
            "its check reported an error or a bug, or it is not one of the four kinds);\n"
            "2 a usage error, or the report could not be written to standard output\n"
            "(a full disk, a closed standard output: the reason is named on standard\n"
            "error).\n");
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
    cli::FlushReport();
    // The reader says only that it could not open or read a file.
    const char* why = read ? nullptr : cli::WhyUnreadable(path);
    if (why != nullptr) fprintf(stderr, "ibislint: %s: %s\n", path, why);
    return read && gulBug_cnt == bugs0 && gulError_cnt == errors0;
}

static int s_quiet = 0;

// Sets the switch of one option, as written ("-n" or "--numbered"); 0 for an
// option it does not know, 2 for the help.
static int s_Option(const char* opt)
{
    if (strcmp(opt, "-n") == 0 || strcmp(opt, "--numbered") == 0) {
        gbOldStyleErrors = 0;
    } else if (strcmp(opt, "-c") == 0 || strcmp(opt, "--cautions") == 0) {
        gbSuppressCautions = 0;
    } else if (strcmp(opt, "-q") == 0 || strcmp(opt, "--no-banners") == 0) {
        PARSE_SuppressBanners(1);
        s_quiet = 1;
    } else if (strcmp(opt, "-h") == 0 || strcmp(opt, "--help") == 0) {
        return 2;
    } else {
        return 0;
    }
    return 1;
}

static int s_Unknown(const char* opt, const char* word)
{
    if (strcmp(opt, word) == 0)
        fprintf(stderr, "ibislint: unknown option '%s'\n", opt);
    else
        fprintf(stderr, "ibislint: unknown option '%s' in '%s'\n", opt, word);
    s_Usage(stderr);
    return 2;
}

// The report is written only when all of it reached standard output.
static int s_Finish(int status)
{
    return cli::ReportWritten("ibislint") ? status : 2;
}

static int s_Help()
{
    s_Usage(stdout);
    return s_Finish(0);
}

int main(int argc, char** argv)
{
    cli::StartReport();
#ifdef _WIN32
    // The report is the same bytes on every platform: its lines end in LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // Options anywhere among the files, short ones combined; "-" alone is a
    // file name, and so is every word after "--".
    int files = 0, optionsEnd = 0;
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        if (optionsEnd || a[0] != '-' || a[1] == '\0') {
            argv[++files] = argv[i];
            continue;
        }
        if (strcmp(a, "--") == 0) {
            optionsEnd = 1;
            continue;
        }
        if (a[1] == '-') {
            const int r = s_Option(a);
            if (r == 0) return s_Unknown(a, a);
            if (r == 2) return s_Help();
            continue;
        }
        for (const char* c = a + 1; *c != '\0'; c++) {
            const char one[3] = {'-', *c, '\0'};
            const int r = s_Option(one);
            if (r == 0) return s_Unknown(one, a);
            if (r == 2) return s_Help();
        }
    }
    if (files == 0) {
        fprintf(stderr, "ibislint: no file to check\n");
        s_Usage(stderr);
        return 2;
    }
    int failed = 0;
    for (int i = 1; i <= files; i++) {
        int type = s_FileType(argv[i]);
        if (type == 0) {
            fprintf(stderr, "ibislint: %s: not an .ibs, .pkg, .ebd or .ami file\n", argv[i]);
            failed = 1;
            continue;
        }
        // Without banners nothing else would tell where one file's messages end.
        if (s_quiet && files > 1) printf("==> %s <==\n", argv[i]);
        // A name given on the command line is relative to the working
        // directory, not to the directory of the file checked before it.
        gsFilePath_ibs[0] = '\0';
        if (!s_Check(argv[i], type)) failed = 1;
    }
    return s_Finish(failed ? 1 : 0);
}

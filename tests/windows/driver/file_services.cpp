// file_services: exercises the parser library's file services where the
// platforms differ (directory separator, base name, binary-mode opening) and
// prints what they did, one "name: value" line each.
//   file_services WORKDIR   (WORKDIR must exist and be writable)
#include "cmn.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Show(const char* name, const char* value)
{
    std::printf("%s: [%s]\n", name, value ? value : "(null)");
}

bool WriteFile(const std::string& path, const char* bytes, size_t n)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes, 1, n, f) == n;
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: file_services WORKDIR\n");
        return 2;
    }
#ifdef _WIN32
    const char sep = '\\';
#else
    const char sep = '/';
#endif
    const std::string dir = std::string(argv[1]) + sep;

    char a[] = "models\\rx\\Veskaro.ibs";
    Show("basename_backslash", CMN_getBasename(a));
    char b[] = "models/rx/Veskaro.ibs";
    Show("basename_slash", CMN_getBasename(b));
    char c[] = "no_directory.v2.pkg";
    Show("basename_plain", CMN_getBasename(c));

    // A ^Z that is not the last byte: a binary read passes over it, a text
    // read would stop there. A CR LF pair ends the line.
    const char bytes[] = "[IBIS Ver] 4.2\r\nab\x1a" "cd\r\nlast\r\n";
    if (!WriteFile(dir + "part.ibs", bytes, sizeof bytes - 1)) {
        std::fprintf(stderr, "file_services: cannot write in %s\n", argv[1]);
        return 2;
    }
    FILE* raw = CMN_fopen((dir + "part.ibs").c_str(), "r");
    std::string rawText;
    if (raw) {
        for (int ch; (ch = std::fgetc(raw)) != EOF;)
            rawText += ch == '\r' ? std::string("<CR>") : ch == '\n' ? std::string("<LF>")
                       : ch == 26 ? std::string("<SUB>") : std::string(1, static_cast<char>(ch));
        std::fclose(raw);
    }
    Show("fopen_bytes", raw ? rawText.c_str() : nullptr);

    FILE* fp = nullptr;
    char fileName[1025] = "";
    const int opened = CMN_OpenFile((dir + "part").c_str(), FILE_IBS, &fp, fileName);
    std::printf("open_result: [%d]\n", opened);
    Show("open_name", fileName);
    char path[1025] = "";
    const std::string got = CMN_GetIbsPath(path);
    Show("open_dir_matches", got == dir ? "yes" : got.c_str());
    if (fp) {
        char line[121];
        int n = 0;
        while (CMN_GetLine(line, sizeof line, fp)) {
            std::string shown;
            for (const char* p = line; *p; ++p)
                shown += *p == '\n' ? std::string("<LF>") : std::string(1, *p);
            std::printf("line%d: [%s]\n", ++n, shown.c_str());
        }
        std::fclose(fp);
    }
    // A bare name is looked for beside the file opened before it.
    FILE* again = nullptr;
    const int reopened = CMN_OpenFile("part.ibs", FILE_IBS, &again, fileName);
    std::printf("reopen_bare_name: [%d]\n", reopened);
    if (again)
        std::fclose(again);
    std::fflush(stdout);
    return 0;
}

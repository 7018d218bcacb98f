// Package models.
#include "pkgmdl.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "cmn.h"
#include "parse.h"

#define CMN_MODULE_PATH "IbisParser/pkgmdl"

// ---------------------------------------------------------------------------
// Package-file search: the directory of the .ibs file is listed through the
// file system, never through a shell, so that any directory name works and
// no temporary file is made.

// Files read by the search since the last reset.
static std::set<std::string> s_pkgFilesRead;

void PKGMDL_ResetPkgSearch(void) { s_pkgFilesRead.clear(); }

static bool s_HasPkgExtension(const std::string& name)
{
    if (name.size() < 4) return false;
    const char* ext = name.c_str() + name.size() - 4;
#ifdef _WIN32
    return CMN_StrSameIC(ext, ".pkg") != 0;
#else
    return strcmp(ext, ".pkg") == 0;
#endif
}

// Regular files (not links, not directories) named *.pkg that are not
// hidden, in byte order of their names.
static std::vector<std::string> s_ListPkgFiles(const std::filesystem::path& dir)
{
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) return names;
    for (std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::filesystem::directory_entry& entry = *it;
        std::error_code kindError;
        if (entry.is_symlink(kindError) || kindError) continue;
        if (!entry.is_regular_file(kindError) || kindError) continue;
#ifdef _WIN32
        // Only names that the narrow file functions can open.
        const std::wstring& wide = entry.path().filename().native();
        if (std::any_of(wide.begin(), wide.end(), [](wchar_t c) { return c > 127; })) continue;
#endif
        std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.' || !s_HasPkgExtension(name)) continue;
#ifdef _WIN32
        DWORD attributes = GetFileAttributesW(entry.path().c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES ||
            (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
            continue;
#endif
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

static bool s_ReadLine(FILE* fp, std::string& line)
{
    line.clear();
    int c = getc(fp);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line.push_back((char)c);
        c = getc(fp);
    }
    return true;
}

static const char* s_SkipBlanks(const char* p)
{
    while (*p && CMN_IsWhitespace((unsigned char)*p)) p++;
    return p;
}

// 1 when a [Define Package Model] line of the file names the model: the
// name after the keyword, cut at the file's comment character and its
// trailing blanks, and to 40 characters.
static bool s_DefinesModel(const std::string& path, const std::string& wanted)
{
    FILE* fp = CMN_fopen(path.c_str(), "r");
    if (fp == nullptr) return false;
    static const char* const spellings[] = {"[DEFINE PACKAGE MODEL]", "[DEFINE PACKAGE_MODEL]",
                                            "[DEFINE_PACKAGE MODEL]", "[DEFINE_PACKAGE_MODEL]"};
    char comment = '|';
    bool hit = false;
    std::string line;
    while (!hit && s_ReadLine(fp, line)) {
        const char* p = s_SkipBlanks(line.c_str());
        if (*p != '[') continue;
        if (CMN_StrSameICn(p, "[COMMENT CHAR]", 14) || CMN_StrSameICn(p, "[COMMENT_CHAR]", 14)) {
            if (strlen(p) < 14) continue;
            const char* q = s_SkipBlanks(p + 14);
            if (q[0] != '\0' && strncmp(q + 1, "_char", 5) == 0 &&
                strchr(gpcBadCommChars, q[0]) == nullptr)
                comment = q[0];
            continue;
        }
        if (strlen(p) < 22) continue;
        bool keyword = false;
        for (const char* s : spellings)
            if (CMN_StrSameICn(p, s, 22)) keyword = true;
        if (!keyword) continue;
        std::string name = s_SkipBlanks(p + 22);
        size_t cut = name.find(comment);
        if (cut != std::string::npos) name.erase(cut);
        while (!name.empty() && CMN_IsWhitespace((unsigned char)name.back())) name.pop_back();
        if (name.size() > 40) name.erase(40);
        hit = name == wanted;
    }
    fclose(fp);
    return hit;
}

int PKGMDL_FindPkgFile(const char* modelName)
{
    CMN_ASSERT(modelName != nullptr);
    char dirText[1025];
    CMN_GetIbsPath(dirText);
    std::filesystem::path dir = dirText[0] ? std::filesystem::path(dirText) : std::filesystem::path(".");
    std::string wanted = modelName;
    if (wanted.size() > 40) wanted.erase(40);
    int version = geFileVersion;
    int read = 0;
    for (const std::string& name : s_ListPkgFiles(dir)) {
        if (s_pkgFilesRead.count(name) != 0) continue;
        if (!s_DefinesModel((dir / name).string(), wanted)) continue;
        s_pkgFilesRead.insert(name);
        if (PARSE(name.c_str(), FILE_PKG)) read = 1;
        geFileVersion = version;
    }
    return read;
}

// Start-up, environment and native child processes. The programs see ANSI
// text; the Unix side speaks UTF-8, so words are converted at this boundary,
// and drive paths handed to a native child become the Unix paths they name.
#ifndef _WIN32
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform.h"
#include "posix_encoding.h"
#include "posix_errno.h"
#include "posix_paths.h"

extern char** environ;

namespace {

// CreateProcess refuses longer command lines.
const size_t COMMAND_LINE_LIMIT = 32767;

bool is_blank(char c) { return c == ' ' || c == '\t'; }

size_t char_len(const char* s)
{
    static plat_code_page_info info;
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        ready = true;
    }
    return info.lead[(unsigned char)s[0]] && s[1] != '\0' ? 2 : 1;
}

// Splits a command line as the C run-time does for a child: blanks and
// tabs separate, double quotes group, 2n backslashes before a quote give n
// and the quote groups, 2n+1 give n and a literal quote, "" inside quotes
// is a literal quote; other backslashes are literal. The program name,
// word 0, knows only quotes. A double-byte character is copied whole.
std::vector<std::string> split_command_line(const char* line)
{
    std::vector<std::string> words;
    const char* p = line;
    while (is_blank(*p))
        ++p;
    if (*p != '\0') {
        std::string word;
        bool quoted = false;
        while (*p != '\0' && (quoted || !is_blank(*p))) {
            if (*p == '"')
                quoted = !quoted;
            else
                word.append(p, char_len(p));
            p += char_len(p);
        }
        words.push_back(word);
    }
    for (;;) {
        while (is_blank(*p))
            ++p;
        if (*p == '\0')
            break;
        std::string word;
        bool quoted = false;
        while (*p != '\0' && (quoted || !is_blank(*p))) {
            if (*p == '\\') {
                size_t n = 0;
                while (p[n] == '\\')
                    ++n;
                if (p[n] == '"') {
                    word.append(n / 2, '\\');
                    p += n;
                    if (n % 2 == 1) {
                        word += '"';
                        ++p;
                    }
                } else {
                    word.append(n, '\\');
                    p += n;
                }
            } else if (*p == '"') {
                if (quoted && p[1] == '"') {
                    word += '"';
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
            } else {
                size_t n = char_len(p);
                word.append(p, n);
                p += n;
            }
        }
        words.push_back(word);
    }
    return words;
}

bool is_drive_path(const char* s)
{
    char c = (char)(s[0] | 0x20);
    return c >= 'a' && c <= 'z' && s[1] == ':' && (s[2] == '\\' || s[2] == '/');
}

// One word for the native child: a drive path becomes the Unix path it
// names (a missing file keeps its name below the existing directories),
// anything else is only converted to UTF-8.
bool native_word(const std::string& word, std::string* out)
{
    char buffer[POSIX_PATH_SIZE];
    if (is_drive_path(word.c_str()) &&
        posix_native_path(word.c_str(), buffer, sizeof buffer) == PLAT_OK) {
        *out = buffer;
        return true;
    }
    std::vector<char> utf8(word.size() * 3 + 1);
    if (posix_to_utf8(word.c_str(), utf8.data(), utf8.size()) != PLAT_OK)
        return false;
    *out = utf8.data();
    return true;
}

// Runs native with argv and waits. Returns 0 once the child has run, or
// the errno of the failed start. posix_spawn shares the parent's memory
// until the exec instead of copying it, which makes a start several
// milliseconds cheaper than a fork, and it reports a failed exec itself.
int run_and_wait(const char* native, char* const* argv)
{
    // A native child finds its own files from word 0 (TeX's kpathsea
    // does), so word 0 is the Unix path it was started from.
    size_t count = 0;
    while (argv[count] != NULL)
        ++count;
    std::vector<char*> child(argv, argv + count + 1);
    child[0] = const_cast<char*>(native);
    fflush(stdout);
    fflush(stderr);
    pid_t pid;
    int error = posix_spawn(&pid, native, NULL, NULL, child.data(), environ);
    if (error != 0)
        return error;
    int wstatus;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    return 0;
}

// Tries one program name: with .com, .exe, .bat and .cmd when its last
// component has no dot, then as it is (the native programs have no
// extension). ENOENT when none exists, else the outcome of the start.
int try_program(const std::string& name, char* const* argv)
{
    size_t last = 0;
    for (size_t i = 0; i < name.size(); i += char_len(name.c_str() + i))
        if (name[i] == '\\' || name[i] == '/')
            last = i + 1;
    static const char* const EXTENSIONS[] = {".com", ".exe", ".bat", ".cmd", ""};
    bool bare_only = name.find('.', last) != std::string::npos;
    for (const char* ext : EXTENSIONS) {
        if (bare_only && ext[0] != '\0')
            continue;
        std::string candidate = name + ext;
        char native[POSIX_PATH_SIZE];
        struct stat st;
        if (posix_native_path(candidate.c_str(), native, sizeof native) != PLAT_OK ||
            stat(native, &st) != 0 || S_ISDIR(st.st_mode))
            continue;
        int error = run_and_wait(native, argv);
        if (error != ENOENT)
            return error;
    }
    return ENOENT;
}

}  // namespace

int plat_start(int* argc, char*** argv)
{
    // The converted words live as long as the process, as argv does.
    static std::vector<std::string> words;
    static std::vector<char*> pointers;
    std::vector<std::string> converted;
    for (int i = 0; i < *argc; ++i) {
        std::vector<char> ansi(strlen((*argv)[i]) + 1);   // ANSI is never longer
        int status = posix_from_utf8((*argv)[i], ansi.data(), ansi.size());
        if (status != PLAT_OK)
            return status;
        converted.push_back(ansi.data());
    }
    words.swap(converted);
    pointers.clear();
    for (std::string& word : words)
        pointers.push_back(&word[0]);
    pointers.push_back(NULL);
    *argv = pointers.data();
    return PLAT_OK;
}

int plat_env_present(const char* name)
{
    char utf8[POSIX_PATH_SIZE];
    if (posix_to_utf8(name, utf8, sizeof utf8) != PLAT_OK)
        return 0;
    size_t n = strlen(utf8);
    for (char** e = environ; *e != NULL; ++e)
        if (strncasecmp(*e, utf8, n) == 0 && (*e)[n] == '=')
            return 1;
    return 0;
}

int plat_env_put(const char* assignment)
{
    std::vector<char> utf8(strlen(assignment) * 3 + 1);
    int status = posix_to_utf8(assignment, utf8.data(), utf8.size());
    if (status != PLAT_OK)
        return status;
    char* eq = strchr(utf8.data(), '=');
    if (eq == NULL || eq == utf8.data())
        return PLAT_FAILED;
    *eq = '\0';
    const char* name = utf8.data();
    const char* value = eq + 1;

    // Names are one variable whatever their case; the one already set keeps
    // its spelling, so that PATH stays PATH for the Unix side.
    std::string existing;
    size_t n = strlen(name);
    for (char** e = environ; *e != NULL; ++e)
        if (strncasecmp(*e, name, n) == 0 && (*e)[n] == '=')
            existing.assign(*e, n);
    if (!existing.empty())
        name = existing.c_str();
    // _putenv("NAME=") removes the variable.
    int result = value[0] == '\0' ? unsetenv(name) : setenv(name, value, 1);
    return result == 0 ? PLAT_OK : posix_status_from_errno(errno);
}

int plat_spawn_wait(const char* program, const char* const* argv)
{
    std::string line;
    for (const char* const* a = argv; *a != NULL; ++a) {
        if (a != argv)
            line += ' ';
        line += *a;
    }
    if (line.size() > COMMAND_LINE_LIMIT)
        return PLAT_TOO_LONG;

    std::vector<std::string> words;
    for (const std::string& word : split_command_line(line.c_str())) {
        std::string native;
        if (!native_word(word, &native))
            return PLAT_FAILED;
        words.push_back(native);
    }
    std::vector<char*> child_argv;
    for (std::string& word : words)
        child_argv.push_back(&word[0]);
    child_argv.push_back(NULL);

    std::string name = program;
    int error = try_program(name, child_argv.data());
    if (error == ENOENT && name.find('/') == std::string::npos) {
        const char* path = getenv("PATH");
        std::string dirs = path != NULL ? path : "";
        char sep = dirs.find(';') != std::string::npos ? ';' : ':';
        size_t start = 0;
        while (error == ENOENT && start <= dirs.size()) {
            size_t end = dirs.find(sep, start);
            if (end == std::string::npos)
                end = dirs.size();
            std::string dir;
            for (size_t i = start; i < end; ++i)
                if (dirs[i] != '"')
                    dir += dirs[i];
            start = end + 1;
            if (dir.empty())
                continue;
            char ansi_dir[POSIX_PATH_SIZE];
            if (posix_from_utf8(dir.c_str(), ansi_dir, sizeof ansi_dir) != PLAT_OK)
                continue;
            dir = ansi_dir;
            char tail = dir[dir.size() - 1];
            error = try_program(dir + (tail == '\\' || tail == '/' ? "" : "\\") + name,
                                child_argv.data());
        }
    }
    // The start failures that _spawnvp tells apart; anything else is one.
    switch (error) {
    case 0: return PLAT_OK;
    case ENOENT: return PLAT_NOT_FOUND;
    case E2BIG: return PLAT_TOO_LONG;
    case ENOMEM: return PLAT_NO_MEMORY;
    default: return PLAT_FAILED;
    }
}
#endif

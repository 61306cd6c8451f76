// File naming, current directory, time stamps and the program's own name,
// over the drive-Z view of the Unix file system (paths.cpp).
#ifndef _WIN32
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform.h"
#include "posix_encoding.h"
#include "posix_errno.h"
#include "posix_paths.h"

namespace {

// The ANSI functions refuse names and results of MAX_PATH characters or more.
const size_t MAX_PATH_CHARS = 260;

// Copies a path the system can use into the caller's buffer: too long for
// the system's path limit, or too long for the buffer (out stays empty).
int hand_out_path(const char* full, char* out, size_t out_size)
{
    size_t len = strlen(full);
    if (len >= MAX_PATH_CHARS)
        return PLAT_TOO_LONG;
    if (len + 1 > out_size)
        return PLAT_MORE_DATA;
    memcpy(out, full, len + 1);
    return PLAT_OK;
}

bool is_sep(char c) { return c == '\\' || c == '/'; }

// stat that still finds a dangling symbolic link, as a directory listing would.
bool stat_entry(const char* native, struct stat* st)
{
    return stat(native, st) == 0 || lstat(native, st) == 0;
}

bool has_wildcard(const char* s)
{
    return strchr(s, '*') != NULL || strchr(s, '?') != NULL;
}

// Whether the last component of name (after its last separator) holds a dot.
bool has_extension(const char* name)
{
    plat_code_page_info info;
    plat_code_page(&info);
    const char* last = name;
    for (const char* p = name; *p != '\0';) {
        if (info.lead[(unsigned char)*p] && p[1] != '\0') {
            p += 2;
            continue;
        }
        if (is_sep(*p))
            last = p + 1;
        ++p;
    }
    return strchr(last, '.') != NULL;
}

// dir, a backslash unless dir ends in a separator, and name; name alone
// when dir is NULL. False when it does not fit in size bytes.
bool join(char* out, size_t size, const char* dir, const char* name)
{
    size_t n = dir != NULL ? strlen(dir) : 0;
    size_t sep = dir != NULL && !(n > 0 && is_sep(dir[n - 1])) ? 1 : 0;
    size_t name_len = strlen(name);
    if (n + sep + name_len + 1 > size)
        return false;
    if (n > 0)
        memcpy(out, dir, n);
    if (sep)
        out[n] = '\\';
    memcpy(out + n + sep, name, name_len + 1);
    return true;
}

// Looks for name (and, when the extension was added, the bare name as a
// plain file: the native programs have none) as dir\name.
int search_in(const char* dir, const char* name, const char* with_ext, char* out,
              size_t out_size, size_t* file_part)
{
    const char* tries[2] = {with_ext, with_ext != name ? name : NULL};
    for (int i = 0; i < 2 && tries[i] != NULL; ++i) {
        char joined[POSIX_PATH_SIZE];
        if (!join(joined, sizeof joined, dir, tries[i]))
            continue;
        char full[POSIX_PATH_SIZE];
        size_t last;
        if (posix_full_path(joined, full, sizeof full, &last) != PLAT_OK || last == (size_t)-1)
            continue;
        char native[POSIX_PATH_SIZE];
        struct stat st;
        if (posix_native_path(full, native, sizeof native) != PLAT_OK || !stat_entry(native, &st))
            continue;
        if (i == 1 && S_ISDIR(st.st_mode))
            continue;
        int status = hand_out_path(full, out, out_size);
        if (status == PLAT_OK)
            *file_part = last;
        return status;
    }
    return PLAT_NOT_FOUND;
}

// The directory of the running program, Z:\...
bool module_dir(char* out, size_t size)
{
    if (plat_module_path(out, size) != PLAT_OK)
        return false;
    char* cut = strrchr(out, '\\');   // '\' never a second byte: see paths.cpp
    if (cut == NULL)
        return false;
    cut[cut == out + 2 ? 1 : 0] = '\0';
    return true;
}

}  // namespace

int plat_full_path(const char* name, char* out, size_t out_size, size_t* last_component)
{
    *last_component = (size_t)-1;
    if (out_size > 0)
        out[0] = '\0';
    if (name != NULL && strlen(name) >= MAX_PATH_CHARS)
        return PLAT_TOO_LONG;
    char full[POSIX_PATH_SIZE];
    size_t last;
    int status = posix_full_path(name, full, sizeof full, &last);
    if (status != PLAT_OK)
        return status == PLAT_MORE_DATA ? PLAT_TOO_LONG : status;
    status = hand_out_path(full, out, out_size);
    if (status == PLAT_OK)
        *last_component = last;
    return status;
}

int plat_find_entry(const char* path, plat_find_data* found)
{
    memset(found, 0, sizeof *found);
    if (path == NULL || has_wildcard(path))
        return PLAT_NOT_FOUND;
    char full[POSIX_PATH_SIZE];
    size_t last;
    int status = posix_full_path(path, full, sizeof full, &last);
    if (status != PLAT_OK)
        return status;
    if (last == (size_t)-1)
        return PLAT_NOT_FOUND;   // a root or a name ending in a separator
    char native[POSIX_PATH_SIZE];
    status = posix_native_path(full, native, sizeof native);
    if (status != PLAT_OK)
        return status;
    struct stat st;
    if (!stat_entry(native, &st))
        return posix_status_from_errno(errno);

    char* slash = strrchr(native, '/');
    const char* base = slash + 1;
    char dir[POSIX_PATH_SIZE];
    size_t dir_len = slash == native ? 1 : (size_t)(slash - native);
    memcpy(dir, native, dir_len);
    dir[dir_len] = '\0';
    if (posix_from_utf8(base, found->name, sizeof found->name) != PLAT_OK) {
        memset(found, 0, sizeof *found);
        return PLAT_BAD_NAME;
    }
    posix_short_name(dir, base, found->short_name);

    // As Wine reports them: a dot file is hidden, a file nobody may write
    // is read-only, and every plain file carries the archive bit.
    uint32_t attributes = S_ISDIR(st.st_mode) ? PLAT_ATTR_DIRECTORY : 0x20;
    if (base[0] == '.')
        attributes |= 0x02;
    if (!S_ISDIR(st.st_mode) && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        attributes |= 0x01;
    found->attributes = attributes;
    return PLAT_OK;
}

int plat_search_path(const char* dir, const char* name, const char* ext, char* out,
                     size_t out_size, size_t* file_part)
{
    *file_part = 0;
    if (out_size > 0)
        out[0] = '\0';
    if (name == NULL || name[0] == '\0')
        return PLAT_NOT_FOUND;
    char with_ext[POSIX_PATH_SIZE];
    const char* first = name;
    if (ext != NULL && ext[0] != '\0' && !has_extension(name)) {
        size_t name_len = strlen(name), ext_len = strlen(ext);
        if (name_len + ext_len >= sizeof with_ext)
            return PLAT_TOO_LONG;
        memcpy(with_ext, name, name_len);
        memcpy(with_ext + name_len, ext, ext_len + 1);
        first = with_ext;
    }

    // A name with a drive or a root is looked for only where it says.
    bool absolute = is_sep(name[0]) || (name[0] != '\0' && name[1] == ':');
    if (absolute)
        return search_in(NULL, name, first, out, out_size, file_part);
    if (dir != NULL)
        return search_in(dir, name, first, out, out_size, file_part);

    char own[POSIX_PATH_SIZE];
    char cwd[POSIX_PATH_SIZE];
    const char* standard[2] = {module_dir(own, sizeof own) ? own : NULL,
                               plat_current_dir(cwd, sizeof cwd) == PLAT_OK ? cwd : NULL};
    for (const char* where : standard) {
        if (where == NULL)
            continue;
        int status = search_in(where, name, first, out, out_size, file_part);
        if (status != PLAT_NOT_FOUND)
            return status;
    }

    // PATH as the Unix side sets it: ':' between Unix directories, unless
    // it was written the Windows way with ';'.
    const char* path = getenv("PATH");
    if (path == NULL)
        return PLAT_NOT_FOUND;
    char sep = strchr(path, ';') != NULL ? ';' : ':';
    for (const char* p = path; *p != '\0';) {
        const char* end = strchr(p, sep);
        if (end == NULL)
            end = p + strlen(p);
        char entry[POSIX_PATH_SIZE];
        size_t n = 0;
        for (const char* q = p; q < end && n + 1 < sizeof entry; ++q)
            if (*q != '"')
                entry[n++] = *q;
        entry[n] = '\0';
        p = *end != '\0' ? end + 1 : end;
        if (n == 0)
            continue;
        char windows_dir[POSIX_PATH_SIZE];
        int converted = entry[0] == '/'
                            ? posix_windows_path(entry, windows_dir, sizeof windows_dir)
                            : posix_from_utf8(entry, windows_dir, sizeof windows_dir);
        if (converted != PLAT_OK)
            continue;
        int status = search_in(windows_dir, name, first, out, out_size, file_part);
        if (status != PLAT_NOT_FOUND)
            return status;
    }
    return PLAT_NOT_FOUND;
}

int plat_current_dir(char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
    char native[POSIX_PATH_SIZE];
    if (getcwd(native, sizeof native) == NULL)
        return posix_status_from_errno(errno);
    return posix_windows_path(native, out, out_size);
}

int plat_set_current_dir(const char* dir)
{
    char native[POSIX_PATH_SIZE];
    int status = posix_native_path(dir, native, sizeof native);
    if (status != PLAT_OK)
        return status;
    return chdir(native) == 0 ? PLAT_OK : posix_status_from_errno(errno);
}

int plat_file_time(const char* path, int64_t* seconds)
{
    *seconds = -1;
    char native[POSIX_PATH_SIZE];
    int status = posix_native_path(path, native, sizeof native);
    if (status != PLAT_OK)
        return status;
    struct stat st;
    if (stat(native, &st) != 0)
        return posix_status_from_errno(errno);
    *seconds = (int64_t)st.st_mtime;
    return PLAT_OK;
}

int plat_module_path(char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
    char native[POSIX_PATH_SIZE];
    ssize_t n = readlink("/proc/self/exe", native, sizeof native - 1);
    if (n <= 0)
        return PLAT_FAILED;
    native[n] = '\0';
    return posix_windows_path(native, out, out_size);
}
#endif

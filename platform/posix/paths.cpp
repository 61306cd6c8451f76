// Windows path names over the Unix file system, as Wine presents it: drive
// Z: is the root, a name is matched against its directory as stored, then
// without regard to case, then by its generated 8.3 short name.
#ifndef _WIN32
#include <dirent.h>
#include <limits.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform.h"
#include "posix_encoding.h"
#include "posix_paths.h"

namespace {

const plat_code_page_info& code_page()
{
    static plat_code_page_info info;
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        ready = true;
    }
    return info;
}

bool is_sep(char c) { return c == '\\' || c == '/'; }

// Bytes of the character at s: a lead byte and a non-zero byte after it
// are one character.
size_t char_len(const char* s)
{
    return code_page().lead[(unsigned char)s[0]] && s[1] != '\0' ? 2 : 1;
}

bool is_drive(const char* s)
{
    char c = s[0];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) && s[1] == ':';
}

bool append(char* dst, size_t size, size_t* len, const char* src, size_t n)
{
    if (*len + n >= size)
        return false;
    memcpy(dst + *len, src, n);
    *len += n;
    dst[*len] = '\0';
    return true;
}

// The current directory as the program sees it, Z:\...
int current_dir(char* out, size_t out_size)
{
    char native[POSIX_PATH_SIZE];
    if (getcwd(native, sizeof native) == NULL)
        return PLAT_FAILED;
    return posix_windows_path(native, out, out_size);
}

// A component of the path being normalised: where it starts in the
// result, so that ".." can remove it again.
struct component_stack {
    size_t start[POSIX_PATH_SIZE / 2];
    size_t count;
};

// Normalises an absolute name whose root (X:\ or \\) is root_len bytes
// long: "." and ".." resolved, separators collapsed and turned into '\',
// trailing dots of inner components and trailing dots and blanks of the
// last one dropped.
int normalise(const char* combined, size_t root_len, char* out, size_t out_size,
              size_t* last_component)
{
    static component_stack stack;
    stack.count = 0;
    size_t len = 0;
    out[0] = '\0';
    if (!append(out, out_size, &len, combined, root_len))
        return PLAT_MORE_DATA;
    for (size_t i = 0; i < root_len; ++i)
        if (out[i] == '/')
            out[i] = '\\';

    bool trailing = false;
    const char* p = combined + root_len;
    while (*p != '\0') {
        while (is_sep(*p))
            ++p;
        if (*p == '\0') {
            trailing = true;
            break;
        }
        const char* start = p;
        while (*p != '\0' && !is_sep(*p))
            p += char_len(p);
        size_t n = (size_t)(p - start);
        const char* rest = p;
        while (is_sep(*rest))
            ++rest;
        bool last = *rest == '\0';

        if (n == 1 && start[0] == '.') {
            trailing = last && is_sep(*p);
            continue;
        }
        if (n == 2 && start[0] == '.' && start[1] == '.') {
            if (stack.count > 0) {
                len = stack.start[--stack.count];
                out[len] = '\0';
            }
            trailing = last && is_sep(*p);
            continue;
        }
        // Trailing dots (and, for the last component, blanks) name the
        // same entry without them. A component of dots only stays inside.
        size_t keep = n;
        bool all_dots = true;
        for (size_t i = 0; i < n; ++i)
            if (start[i] != '.')
                all_dots = false;
        if (last) {
            while (keep > 0 && (start[keep - 1] == '.' || start[keep - 1] == ' '))
                --keep;
        } else if (!all_dots) {
            while (keep > 0 && start[keep - 1] == '.')
                --keep;
        }
        if (keep == 0) {
            trailing = true;
            continue;
        }
        trailing = false;
        size_t at = len;
        if (len > root_len && !append(out, out_size, &len, "\\", 1))
            return PLAT_MORE_DATA;
        if (stack.count >= sizeof stack.start / sizeof stack.start[0])
            return PLAT_MORE_DATA;
        stack.start[stack.count++] = at;
        if (!append(out, out_size, &len, start, keep))
            return PLAT_MORE_DATA;
    }
    if (trailing && len > root_len && !append(out, out_size, &len, "\\", 1))
        return PLAT_MORE_DATA;

    if (len == root_len || out[len - 1] == '\\') {
        *last_component = (size_t)-1;
    } else {
        size_t at = stack.count > 0 ? stack.start[stack.count - 1] : root_len;
        *last_component = at == root_len ? at : at + 1;
    }
    return PLAT_OK;
}

// Case folding of ANSI text as the file system compares names: single
// bytes by the code page's table, a double-byte character by the locale.
bool fold_equal(const char* a, const char* b)
{
    const plat_code_page_info& info = code_page();
    while (*a != '\0' && *b != '\0') {
        size_t na = char_len(a), nb = char_len(b);
        if (na != nb)
            return false;
        if (na == 2) {
            unsigned char pa[2] = {(unsigned char)a[0], (unsigned char)a[1]};
            unsigned char pb[2] = {(unsigned char)b[0], (unsigned char)b[1]};
            plat_lower_double_byte(pa);
            plat_lower_double_byte(pb);
            if (pa[0] != pb[0] || pa[1] != pb[1])
                return false;
        } else if (info.lower[(unsigned char)*a] != info.lower[(unsigned char)*b]) {
            return false;
        }
        a += na;
        b += nb;
    }
    return *a == *b;
}

bool contains_tilde(const char* s)
{
    for (; *s != '\0'; s += char_len(s))
        if (*s == '~')
            return true;
    return false;
}

// One directory entry with both forms of its name.
struct entry {
    std::string native;
    std::string ansi;
    std::string short_name;
};

bool by_native_name(const entry& a, const entry& b) { return a.native < b.native; }

// The entries of a directory whose names the code page can represent, in
// byte order of their native names. False when it cannot be read.
bool list_directory(const char* native_dir, std::vector<entry>* entries)
{
    DIR* dir = opendir(native_dir);
    if (dir == NULL)
        return false;
    while (struct dirent* d = readdir(dir)) {
        if (strcmp(d->d_name, ".") == 0 || strcmp(d->d_name, "..") == 0)
            continue;
        char ansi[POSIX_PATH_SIZE];
        if (posix_from_utf8(d->d_name, ansi, sizeof ansi) != PLAT_OK)
            continue;
        entries->push_back(entry{d->d_name, ansi, std::string()});
    }
    closedir(dir);
    std::sort(entries->begin(), entries->end(), by_native_name);
    return true;
}

// Characters that never stand in an 8.3 name.
bool invalid_83_char(unsigned char c)
{
    return c < 0x20 || strchr("\"*+,/:;<=>?[\\]| .", c) != NULL;
}

// Whether a name is a valid 8.3 name as it is: one to eight characters,
// optionally a dot and one to three more, nothing invalid. Case does not
// matter: such a name is its own short name.
bool valid_83(const char* name)
{
    size_t base = 0, ext = 0;
    bool dot = false;
    for (const char* p = name; *p != '\0';) {
        size_t n = char_len(p);
        if (n == 1 && *p == '.') {
            if (dot || base == 0)
                return false;
            dot = true;
        } else if (n == 1 && invalid_83_char((unsigned char)*p)) {
            return false;
        } else {
            (dot ? ext : base) += n;
        }
        p += n;
    }
    return base >= 1 && base <= 8 && ext <= 3 && !(dot && ext == 0);
}

// Upper case of one single-byte character: the code page's capital whose
// small letter it is.
char upper_char(unsigned char c)
{
    const plat_code_page_info& info = code_page();
    if (info.lower[c] != c)
        return (char)c;   // already a capital
    for (int u = 0; u < 256; ++u)
        if (u != c && info.lower[u] == c)
            return (char)u;
    return (char)c;
}

// The usable characters of a part of a name, upper case: blanks and dots
// are dropped, characters invalid in a short name become '_'. At most
// limit bytes; a double-byte character is never split.
std::string short_part(const char* s, size_t n, size_t limit)
{
    std::string out;
    for (size_t i = 0; i < n;) {
        size_t len = char_len(s + i);
        if (len == 2) {
            if (out.size() + 2 > limit)
                break;
            out.append(s + i, 2);
        } else {
            unsigned char c = (unsigned char)s[i];
            if (c != ' ' && c != '.') {
                if (out.size() + 1 > limit)
                    break;
                out += invalid_83_char(c) ? '_' : upper_char(c);
            }
        }
        i += len;
    }
    return out;
}

bool taken(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& other : names)
        if (fold_equal(other.c_str(), name.c_str()))
            return true;
    return false;
}

// Gives every entry that needs one its short name, in the order of the
// list, each the first NAME~N.EXT that no entry already uses.
void assign_short_names(std::vector<entry>* entries)
{
    std::vector<std::string> used;
    for (const entry& e : *entries)
        if (valid_83(e.ansi.c_str()))
            used.push_back(e.ansi);
    for (entry& e : *entries) {
        if (valid_83(e.ansi.c_str()))
            continue;
        const char* name = e.ansi.c_str();
        while (*name == '.')
            ++name;
        const char* dot = NULL;
        for (const char* p = name; *p != '\0'; p += char_len(p))
            if (*p == '.')
                dot = p;
        size_t base_len = dot != NULL ? (size_t)(dot - name) : strlen(name);
        std::string base = short_part(name, base_len, 8);
        std::string ext = dot != NULL ? short_part(dot + 1, strlen(dot + 1), 3) : std::string();
        if (base.empty())
            base = "_";
        for (unsigned n = 1; n < 1000000; ++n) {
            std::string tail = "~" + std::to_string(n);
            std::string candidate = short_part(base.c_str(), base.size(), 8 - tail.size()) + tail;
            if (!ext.empty())
                candidate += "." + ext;
            if (!taken(used, candidate)) {
                e.short_name = candidate;
                used.push_back(candidate);
                break;
            }
        }
    }
}

bool copy_name(char* out, const char* name)
{
    size_t n = strlen(name);
    if (n >= POSIX_PATH_SIZE)
        return false;
    memcpy(out, name, n + 1);
    return true;
}

// Finds the entry of native_dir that the ANSI component names: as stored,
// else without regard to case, else by short name. The native name goes to
// out (POSIX_PATH_SIZE bytes).
bool resolve_component(const char* native_dir, const char* ansi, const char* utf8,
                       char* out)
{
    std::string exact = std::string(native_dir) + (native_dir[1] != '\0' ? "/" : "") + utf8;
    struct stat st;
    if (lstat(exact.c_str(), &st) == 0)
        return copy_name(out, utf8);
    std::vector<entry> entries;
    if (!list_directory(native_dir, &entries))
        return false;
    for (const entry& e : entries)
        if (fold_equal(e.ansi.c_str(), ansi))
            return copy_name(out, e.native.c_str());
    if (!contains_tilde(ansi))
        return false;
    assign_short_names(&entries);
    for (const entry& e : entries)
        if (!e.short_name.empty() && fold_equal(e.short_name.c_str(), ansi))
            return copy_name(out, e.native.c_str());
    return false;
}

}  // namespace

int posix_full_path(const char* name, char* out, size_t out_size, size_t* last_component)
{
    size_t ignored;
    if (last_component == NULL)
        last_component = &ignored;
    *last_component = (size_t)-1;
    if (out_size > 0)
        out[0] = '\0';
    if (name == NULL || name[0] == '\0')
        return PLAT_BAD_NAME;

    // The name made absolute, then normalised.
    static char combined[2 * POSIX_PATH_SIZE];
    size_t len = 0;
    size_t root_len = 3;
    combined[0] = '\0';
    bool fits;
    if (is_drive(name) && is_sep(name[2])) {
        fits = append(combined, sizeof combined, &len, name, strlen(name));
    } else if (is_sep(name[0]) && is_sep(name[1])) {
        root_len = 2;
        fits = append(combined, sizeof combined, &len, name, strlen(name));
    } else {
        char cwd[POSIX_PATH_SIZE];
        int status = current_dir(cwd, sizeof cwd);
        if (status != PLAT_OK)
            return status == PLAT_MORE_DATA ? PLAT_TOO_LONG : status;
        if (is_drive(name)) {
            // Drive-relative: the current directory of the current drive,
            // the root of any other.
            char letter = (char)(name[0] & ~0x20);
            if (letter == cwd[0]) {
                fits = append(combined, sizeof combined, &len, cwd, strlen(cwd)) &&
                       append(combined, sizeof combined, &len, "\\", 1) &&
                       append(combined, sizeof combined, &len, name + 2, strlen(name + 2));
            } else {
                fits = append(combined, sizeof combined, &len, name, 2) &&
                       append(combined, sizeof combined, &len, "\\", 1) &&
                       append(combined, sizeof combined, &len, name + 2, strlen(name + 2));
            }
        } else if (is_sep(name[0])) {
            fits = append(combined, sizeof combined, &len, cwd, 2) &&
                   append(combined, sizeof combined, &len, name, strlen(name));
        } else {
            fits = append(combined, sizeof combined, &len, cwd, strlen(cwd)) &&
                   append(combined, sizeof combined, &len, "\\", 1) &&
                   append(combined, sizeof combined, &len, name, strlen(name));
        }
    }
    if (!fits)
        return PLAT_TOO_LONG;

    static char result[2 * POSIX_PATH_SIZE];
    size_t last;
    int status = normalise(combined, root_len, result, sizeof result, &last);
    if (status != PLAT_OK)
        return PLAT_TOO_LONG;
    size_t result_len = strlen(result);
    if (result_len + 1 > out_size)
        return PLAT_MORE_DATA;
    memcpy(out, result, result_len + 1);
    *last_component = last;
    return PLAT_OK;
}

int posix_windows_path(const char* native_path, char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
    if (native_path == NULL || native_path[0] != '/')
        return PLAT_BAD_NAME;
    if (out_size < 3)
        return PLAT_MORE_DATA;
    int status = posix_from_utf8(native_path, out + 2, out_size - 2);
    if (status != PLAT_OK) {
        out[0] = '\0';
        return status;
    }
    out[0] = 'Z';
    out[1] = ':';
    // '/' is never the second byte of a double-byte character.
    for (char* p = out; *p != '\0'; ++p)
        if (*p == '/')
            *p = '\\';
    return PLAT_OK;
}

int posix_native_path(const char* windows_path, char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
    static char full[2 * POSIX_PATH_SIZE];
    int status = posix_full_path(windows_path, full, sizeof full, NULL);
    if (status != PLAT_OK)
        return status == PLAT_MORE_DATA ? PLAT_TOO_LONG : status;
    if (full[0] != 'Z' && full[0] != 'z')
        return PLAT_NOT_FOUND;   // no drive but Z:, and no network names

    char native[POSIX_PATH_SIZE] = "/";
    size_t len = 1;
    bool missing = false;
    const char* p = full + 3;
    while (*p != '\0') {
        const char* start = p;
        while (*p != '\0' && *p != '\\')
            p += char_len(p);
        char ansi[POSIX_PATH_SIZE];
        size_t n = (size_t)(p - start);
        if (n >= sizeof ansi)
            return PLAT_TOO_LONG;
        memcpy(ansi, start, n);
        ansi[n] = '\0';
        char utf8[POSIX_PATH_SIZE];
        status = posix_to_utf8(ansi, utf8, sizeof utf8);
        if (status != PLAT_OK)
            return status == PLAT_MORE_DATA ? PLAT_TOO_LONG : status;
        char stored[POSIX_PATH_SIZE];
        const char* name = utf8;
        if (!missing) {
            if (resolve_component(native, ansi, utf8, stored))
                name = stored;
            else
                missing = true;   // the rest stays as written
        }
        if ((len > 1 && !append(native, sizeof native, &len, "/", 1)) ||
            !append(native, sizeof native, &len, name, strlen(name)))
            return PLAT_TOO_LONG;
        if (*p == '\\') {
            ++p;
            if (*p == '\0' && !append(native, sizeof native, &len, "/", 1))
                return PLAT_TOO_LONG;
        }
    }
    if (len + 1 > out_size)
        return PLAT_MORE_DATA;
    memcpy(out, native, len + 1);
    return PLAT_OK;
}

int posix_short_name(const char* native_dir, const char* native_name, char out[14])
{
    out[0] = '\0';
    std::vector<entry> entries;
    if (!list_directory(native_dir, &entries))
        return PLAT_NOT_FOUND;
    assign_short_names(&entries);
    for (const entry& e : entries) {
        if (e.native == native_name) {
            if (e.short_name.size() >= 14)
                return PLAT_BAD_NAME;
            memcpy(out, e.short_name.c_str(), e.short_name.size() + 1);
            return PLAT_OK;
        }
    }
    char ansi[POSIX_PATH_SIZE];
    return posix_from_utf8(native_name, ansi, sizeof ansi) == PLAT_OK ? PLAT_NOT_FOUND
                                                                       : PLAT_BAD_NAME;
}
#endif

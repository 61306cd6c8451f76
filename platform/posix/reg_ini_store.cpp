// Files, code-page conversion and case folding shared by the registry tree
// and the INI files of the posix backend.
#ifndef _WIN32
#include <errno.h>
#include <fcntl.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include "platform.h"
#include "posix_encoding.h"
#include "posix_errno.h"
#include "reg_ini_store.h"

int store_read_file(const char* native_path, std::string* data)
{
    data->clear();
    int fd = open(native_path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return posix_status_from_errno(errno);
    char chunk[4096];
    for (;;) {
        ssize_t got = read(fd, chunk, sizeof chunk);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            int status = posix_status_from_errno(errno);
            close(fd);
            data->clear();
            return status == PLAT_OK ? PLAT_FAILED : status;
        }
        data->append(chunk, (size_t)got);
    }
    close(fd);
    return PLAT_OK;
}

static bool write_all(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t put = write(fd, data.data() + done, data.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += (size_t)put;
    }
    return true;
}

int store_write_file(const char* native_path, const std::string& data)
{
    struct stat old;
    bool exists = stat(native_path, &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return PLAT_ACCESS_DENIED;
    if (exists && access(native_path, W_OK) != 0)
        return PLAT_ACCESS_DENIED;

    // The temporary name starts with a dot: no registry key directory and no
    // name a program writes through this backend can take that form.
    std::string temp = native_path;
    size_t slash = temp.rfind('/');
    temp.insert(slash == std::string::npos ? 0 : slash + 1, ".");
    temp += ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0)
        return posix_status_from_errno(errno);
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = fchmod(fd, mode) == 0 && write_all(fd, data) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), native_path) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        int status = posix_status_from_errno(error);
        return status == PLAT_OK ? PLAT_FAILED : status;
    }
    return PLAT_OK;
}

// Converts piece by piece between the zeros, since the converters work on
// zero-terminated text. A piece grows at most threefold into UTF-8 and never
// grows back into the code page.
static int convert_pieces(const std::string& in, std::string* out, bool to_utf8)
{
    out->clear();
    std::string piece_out;
    size_t start = 0;
    while (start <= in.size()) {
        size_t end = in.find('\0', start);
        if (end == std::string::npos)
            end = in.size();
        std::string piece = in.substr(start, end - start);
        if (!piece.empty()) {
            piece_out.assign(piece.size() * 3 + 1, '\0');
            int status = to_utf8 ? posix_to_utf8(piece.c_str(), &piece_out[0], piece_out.size())
                                 : posix_from_utf8(piece.c_str(), &piece_out[0], piece_out.size());
            if (status != PLAT_OK) {
                out->clear();
                return status == PLAT_MORE_DATA ? PLAT_FAILED : status;
            }
            out->append(piece_out.c_str());
        }
        if (end < in.size())
            out->push_back('\0');
        start = end + 1;
    }
    return PLAT_OK;
}

int store_to_utf8(const std::string& ansi, std::string* utf8)
{
    return convert_pieces(ansi, utf8, true);
}

int store_from_utf8(const std::string& utf8, std::string* ansi)
{
    return convert_pieces(utf8, ansi, false);
}

// The next code point of a UTF-8 text; a byte that starts no valid
// sequence stands for itself (above the Unicode range, so it never folds or
// equals a real character).
static unsigned next_code_point(const std::string& s, size_t* at)
{
    const unsigned char* p = (const unsigned char*)s.data() + *at;
    size_t left = s.size() - *at;
    unsigned c = p[0];
    size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || n > left) {
        ++*at;
        return 0x110000 + c;
    }
    unsigned cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (size_t i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++*at;
            return 0x110000 + c;
        }
        cp = cp << 6 | (p[i] & 0x3Fu);
    }
    *at += n;
    return cp;
}

// Unicode lower case from the C.UTF-8 locale, whatever the process locale
// is; ASCII only where no UTF-8 locale is installed.
static unsigned fold(unsigned cp)
{
    static locale_t utf8_locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", (locale_t)0);
    if (cp >= 'A' && cp <= 'Z')
        return cp + 32;
    if (cp < 0x80 || cp >= 0x110000 || utf8_locale == (locale_t)0)
        return cp;
    return (unsigned)towlower_l((wint_t)cp, utf8_locale);
}

int store_compare_nocase(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        unsigned x = fold(next_code_point(a, &i));
        unsigned y = fold(next_code_point(b, &j));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool store_equal_ansi_nocase(const std::string& a, const std::string& b)
{
    std::string ua, ub;
    if (store_to_utf8(a, &ua) == PLAT_OK && store_to_utf8(b, &ub) == PLAT_OK)
        return store_compare_nocase(ua, ub) == 0;
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = (unsigned char)a[i], y = (unsigned char)b[i];
        if (x != y && !(x >= 'A' && x <= 'Z' && x + 32 == y) && !(y >= 'A' && y <= 'Z' && y + 32 == x))
            return false;
    }
    return true;
}

static bool env_text(const char* name, std::string* value)
{
    const char* text = getenv(name);
    if (text == NULL || *text == '\0')
        return false;
    *value = text;
    return true;
}

int store_registry_root(std::string* native)
{
    if (env_text("QUILLBAY_REGISTRY", native))
        return PLAT_OK;
    if (env_text("XDG_DATA_HOME", native) && (*native)[0] == '/') {
        *native += "/quillbay/registry";
        return PLAT_OK;
    }
    if (env_text("HOME", native)) {
        *native += "/.local/share/quillbay/registry";
        return PLAT_OK;
    }
    native->clear();
    return PLAT_NOT_FOUND;
}

int store_windows_dir(std::string* native)
{
    if (env_text("QUILLBAY_WINDIR", native))
        return PLAT_OK;
    int status = store_registry_root(native);
    if (status != PLAT_OK)
        return status;
    while (native->size() > 1 && native->back() == '/')
        native->pop_back();
    size_t slash = native->rfind('/');
    if (slash == std::string::npos)
        *native = "windows";
    else
        native->replace(slash + 1, std::string::npos, "windows");
    return PLAT_OK;
}

size_t store_utf16_units(const std::string& utf8)
{
    size_t units = 0;
    for (size_t at = 0; at < utf8.size();)
        {
        unsigned cp = next_code_point(utf8, &at);
        units += cp >= 0x10000 && cp < 0x110000 ? 2 : 1;
    }
    return units;
}
#endif

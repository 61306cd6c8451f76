// File naming backend: full paths, directory entries, the program search,
// the current directory, time stamps and the program's own file name.
#ifdef _WIN32
#include <errno.h>
#include <string.h>
#include <sys/stat.h>

#include "win32_status.h"

// The API calls below return the length without terminator when the result
// fit, the size needed (terminator included) when it did not, and 0 on
// failure. out is left empty unless the whole result is in it.
static int fitted_length(DWORD length, char* out, size_t out_size)
{
    if (length == 0) {
        int status = win32_last_status();
        if (out_size > 0)
            out[0] = '\0';
        return status;
    }
    if (length >= out_size) {
        if (out_size > 0)
            out[0] = '\0';
        return PLAT_MORE_DATA;
    }
    return PLAT_OK;
}

int plat_full_path(const char* name, char* out, size_t out_size,
                   size_t* last_component)
{
    if (last_component != NULL)
        *last_component = (size_t)-1;
    if (out_size > 0)
        out[0] = '\0';
    char* file_part = NULL;
    DWORD length = GetFullPathNameA(name, win32_capacity(out_size), out, &file_part);
    int status = fitted_length(length, out, out_size);
    if (status == PLAT_OK && file_part != NULL && last_component != NULL)
        *last_component = (size_t)(file_part - out);
    return status;
}

int plat_find_entry(const char* path, plat_find_data* found)
{
    memset(found, 0, sizeof *found);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return win32_last_status();
    FindClose(search);
    found->attributes = entry.dwFileAttributes;
    // Both buffers have the sizes of the API's own fields.
    if (!win32_copy_text(found->name, sizeof found->name, entry.cFileName) ||
        !win32_copy_text(found->short_name, sizeof found->short_name, entry.cAlternateFileName)) {
        memset(found, 0, sizeof *found);
        return PLAT_FAILED;
    }
    return PLAT_OK;
}

int plat_search_path(const char* dir, const char* name, const char* ext,
                     char* out, size_t out_size, size_t* file_part)
{
    if (file_part != NULL)
        *file_part = 0;
    if (out_size > 0)
        out[0] = '\0';
    char* file_start = NULL;
    DWORD length = SearchPathA(dir, name, ext, win32_capacity(out_size), out, &file_start);
    int status = fitted_length(length, out, out_size);
    // A found file always has a file part; should the system not say where
    // it starts, point at the end rather than outside the text.
    if (status == PLAT_OK && file_part != NULL)
        *file_part = file_start != NULL ? (size_t)(file_start - out) : strlen(out);
    return status;
}

int plat_current_dir(char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
    DWORD length = GetCurrentDirectoryA(win32_capacity(out_size), out);
    return fitted_length(length, out, out_size);
}

int plat_set_current_dir(const char* dir)
{
    if (SetCurrentDirectoryA(dir))
        return PLAT_OK;
    return win32_last_status();
}

int plat_file_time(const char* path, int64_t* seconds)
{
    *seconds = 0;
    // The 64-bit variant of _stat, so that the 32-bit build reads times
    // past 2038 too.
    struct _stat64 info;
    if (_stat64(path, &info) != 0)
        return win32_errno_status(errno);
    *seconds = (int64_t)info.st_mtime;
    return PLAT_OK;
}

int plat_module_path(char* out, size_t out_size)
{
    if (out_size > 0)
        out[0] = '\0';
    DWORD capacity = win32_capacity(out_size);
    DWORD length = GetModuleFileNameA(NULL, out, capacity);
    if (length == 0)
        return win32_last_status();
    // A cut-off name fills the whole buffer (and older systems leave it
    // without a terminator).
    if (length >= capacity) {
        out[0] = '\0';
        return PLAT_MORE_DATA;
    }
    return PLAT_OK;
}
#endif

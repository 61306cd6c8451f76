// Error translation for the win32 backend: program logic only ever sees
// plat_status, so every Win32 and errno code passes through these tables.
#ifdef _WIN32
#include <errno.h>
#include <string.h>

#include "win32_status.h"

struct win32_error_entry {
    DWORD error;
    int status;
};

static const win32_error_entry WIN32_ERRORS[] = {
    {ERROR_SUCCESS, PLAT_OK},
    {ERROR_FILE_NOT_FOUND, PLAT_NOT_FOUND},
    {ERROR_PATH_NOT_FOUND, PLAT_NOT_FOUND},
    {ERROR_INVALID_DRIVE, PLAT_NOT_FOUND},
    {ERROR_NO_MORE_FILES, PLAT_NOT_FOUND},
    {ERROR_BAD_NETPATH, PLAT_NOT_FOUND},
    {ERROR_BAD_NET_NAME, PLAT_NOT_FOUND},
    {ERROR_MOD_NOT_FOUND, PLAT_NOT_FOUND},
    {ERROR_KEY_DELETED, PLAT_NOT_FOUND},
    {ERROR_ACCESS_DENIED, PLAT_ACCESS_DENIED},
    {ERROR_SHARING_VIOLATION, PLAT_ACCESS_DENIED},
    {ERROR_LOCK_VIOLATION, PLAT_ACCESS_DENIED},
    {ERROR_WRITE_PROTECT, PLAT_ACCESS_DENIED},
    {ERROR_PRIVILEGE_NOT_HELD, PLAT_ACCESS_DENIED},
    {ERROR_MORE_DATA, PLAT_MORE_DATA},
    {ERROR_INSUFFICIENT_BUFFER, PLAT_MORE_DATA},
    {ERROR_NO_MORE_ITEMS, PLAT_NO_MORE_ITEMS},
    {ERROR_FILENAME_EXCED_RANGE, PLAT_TOO_LONG},
    {ERROR_BUFFER_OVERFLOW, PLAT_TOO_LONG},
    {ERROR_BAD_ENVIRONMENT, PLAT_TOO_LONG},
    {ERROR_NOT_ENOUGH_MEMORY, PLAT_NO_MEMORY},
    {ERROR_OUTOFMEMORY, PLAT_NO_MEMORY},
    {ERROR_INVALID_NAME, PLAT_BAD_NAME},
    {ERROR_BAD_PATHNAME, PLAT_BAD_NAME},
    {ERROR_DIRECTORY, PLAT_BAD_NAME},
    {ERROR_NO_UNICODE_TRANSLATION, PLAT_BAD_NAME},
};

struct errno_entry {
    int error;
    int status;
};

static const errno_entry ERRNO_ERRORS[] = {
    {ENOENT, PLAT_NOT_FOUND},
    {ENOTDIR, PLAT_NOT_FOUND},
    {EACCES, PLAT_ACCESS_DENIED},
    {EPERM, PLAT_ACCESS_DENIED},
    {E2BIG, PLAT_TOO_LONG},
    {ENAMETOOLONG, PLAT_TOO_LONG},
    {ENOMEM, PLAT_NO_MEMORY},
    {EINVAL, PLAT_BAD_NAME},
};

int win32_status(DWORD error)
{
    for (const win32_error_entry& entry : WIN32_ERRORS)
        if (entry.error == error)
            return entry.status;
    return PLAT_FAILED;
}

int win32_last_status()
{
    int status = win32_status(GetLastError());
    return status == PLAT_OK ? PLAT_FAILED : status;
}

int win32_errno_status(int error)
{
    for (const errno_entry& entry : ERRNO_ERRORS)
        if (entry.error == error)
            return entry.status;
    return PLAT_FAILED;
}

bool win32_copy_text(char* out, size_t size, const char* src)
{
    if (size == 0)
        return false;
    size_t length = strlen(src);
    if (length >= size) {
        out[0] = '\0';
        return false;
    }
    memcpy(out, src, length + 1);
    return true;
}

DWORD win32_capacity(size_t size)
{
    return size > MAXDWORD ? MAXDWORD : (DWORD)size;
}
#endif

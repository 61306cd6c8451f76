// errno values as the platform's status codes, in one flat table, so the
// rest of the backend never reports a raw errno.
#ifndef _WIN32
#include <errno.h>

#include "platform.h"
#include "posix_errno.h"

// One flat table, as the rest of the backend reports failures.
int posix_status_from_errno(int error)
{
    switch (error) {
    case 0: return PLAT_OK;
    case ENOENT: return PLAT_NOT_FOUND;
    case ENOTDIR: return PLAT_NOT_FOUND;
    case ELOOP: return PLAT_NOT_FOUND;
    case EACCES: return PLAT_ACCESS_DENIED;
    case EPERM: return PLAT_ACCESS_DENIED;
    case EISDIR: return PLAT_ACCESS_DENIED;
    case EROFS: return PLAT_ACCESS_DENIED;
    case E2BIG: return PLAT_TOO_LONG;
    case ENAMETOOLONG: return PLAT_TOO_LONG;
    case ENOMEM: return PLAT_NO_MEMORY;
    case EILSEQ: return PLAT_BAD_NAME;
    default: return PLAT_FAILED;
    }
}
#endif

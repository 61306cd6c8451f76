// Internal to the posix backend: the one table from errno values to the
// platform's own status codes.
#ifndef QUILLBAY_POSIX_ERRNO_H
#define QUILLBAY_POSIX_ERRNO_H
#ifndef _WIN32

// errno as a plat_status; 0 gives PLAT_OK, anything unknown PLAT_FAILED.
int posix_status_from_errno(int error);

#endif
#endif

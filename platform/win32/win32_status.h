// Helpers shared by the files of the win32 backend: the one table that turns
// Win32 and C run-time error codes into plat_status, and a bounded copy.
#ifndef QUILLBAY_WIN32_STATUS_H
#define QUILLBAY_WIN32_STATUS_H
#ifdef _WIN32
#include <windows.h>

#include "platform.h"

// A Win32 error code (GetLastError or a Reg* result) as a plat_status.
int win32_status(DWORD error);

// GetLastError() as a plat_status; PLAT_FAILED when the system left it 0
// although the call failed.
int win32_last_status();

// The errno value of a failed C run-time call as a plat_status (never
// PLAT_OK: a failure that left errno 0 is PLAT_FAILED).
int win32_errno_status(int error);

// Copies src into out within size bytes. When it does not fit, out is left
// empty and the result is false.
bool win32_copy_text(char* out, size_t size, const char* src);

// The capacity of a caller's buffer as the DWORD the API takes; buffers
// beyond 4 GiB are simply used in part.
DWORD win32_capacity(size_t size);

#endif
#endif

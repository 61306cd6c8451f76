// Internal to the posix backend: Windows path names on a Unix file system,
// the way Wine presents it. Drive Z: is the Unix root; a path that begins
// with '\' or '/' without a drive is on Z:; no other drive exists. '\' and
// '/' both separate components.
#ifndef QUILLBAY_POSIX_PATHS_H
#define QUILLBAY_POSIX_PATHS_H
#ifndef _WIN32

#include <stddef.h>

// Room for a native path: UTF-8 may take up to three bytes for each byte of
// a 260-character ANSI path, and the current directory may be deep.
enum { POSIX_PATH_SIZE = 4096 };

// A Windows path (ANSI code page; absolute, drive-relative or relative to
// the current directory) as the native UTF-8 path it names. Each component
// that exists is matched against its directory as stored, else without
// regard to case, else by its generated 8.3 short name; from the first
// component that does not exist on, the rest is kept as written (converted
// to UTF-8, '\' turned into '/'), so a file about to be created resolves
// too. Results: PLAT_OK; PLAT_NOT_FOUND for a drive other than Z: (or an
// empty name); PLAT_BAD_NAME for text that is no valid ANSI text;
// PLAT_MORE_DATA when out_size is too small (out then empty).
int posix_native_path(const char* windows_path, char* out, size_t out_size);

// A native absolute path as the Windows program sees it: "Z:" followed by
// the path with '/' turned into '\' and converted to the code page ("/"
// itself is "Z:\"). PLAT_BAD_NAME when a character cannot be represented,
// PLAT_MORE_DATA when it does not fit.
int posix_windows_path(const char* native_path, char* out, size_t out_size);

#endif
#endif

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

// GetFullPathNameA without its 260-character limit: completes a relative
// name with the current directory and a drive-relative one with the current
// directory of its drive (the root for a drive other than the current one),
// resolves "." and "..", turns '/' into '\', drops trailing dots and blanks
// of the last component, keeps the case as written. *last_component is the
// offset of the last component, or (size_t)-1 when the result ends in a
// separator. PLAT_MORE_DATA when it does not fit in out_size (out empty),
// PLAT_BAD_NAME for an empty name or a current directory the code page
// cannot represent.
int posix_full_path(const char* name, char* out, size_t out_size,
                    size_t* last_component);

// The 8.3 alternate name that the entry native_name of the directory
// native_dir has, upper case, or an empty text for a name that is already a
// valid 8.3 name. The names are generated the same way for every call: the
// entries are taken in byte order of their native names, each gets the
// first free NAME~N.EXT (the first six usable characters, fewer as N grows,
// and the first three of the extension). PLAT_NOT_FOUND when the entry does
// not exist, PLAT_BAD_NAME when its name cannot be represented.
int posix_short_name(const char* native_dir, const char* native_name,
                     char out[14]);

#endif
#endif

// Internal to the posix backend: what the registry tree and the INI files
// share. Whole small files read into memory and replaced atomically, text
// converted between the ANSI code page and UTF-8 with embedded zeros kept,
// and names compared without regard to case the way Wine folds them (by
// Unicode lower case, not by bytes).
#ifndef QUILLBAY_REG_INI_STORE_H
#define QUILLBAY_REG_INI_STORE_H
#ifndef _WIN32

#include <string>

// The whole file. PLAT_NOT_FOUND for a missing file, other failures mapped
// from errno; *data is empty then.
int store_read_file(const char* native_path, std::string* data);

// Replaces the file with data, or leaves the old file exactly as it was:
// the bytes go to a temporary file in the same directory that is renamed
// over the target only once it is complete. An existing file that may not
// be written (read-only) is refused with PLAT_ACCESS_DENIED, as Windows
// refuses to replace it; a new file gets the usual permissions.
int store_write_file(const char* native_path, const std::string& data);

// Code-page text to UTF-8 and back over bytes that may hold zeros (multi
// strings, strings with their terminator); each zero-separated piece is
// converted on its own. PLAT_BAD_NAME when a piece has no counterpart.
int store_to_utf8(const std::string& ansi, std::string* utf8);
int store_from_utf8(const std::string& utf8, std::string* ansi);

// Orders two UTF-8 names by their lower-cased code points: 0 when they are
// the same name without regard to case. Bytes that are no valid UTF-8
// compare as themselves.
int store_compare_nocase(const std::string& a, const std::string& b);

// The same test for two texts of the ANSI code page; texts that do not
// convert compare with ASCII letters folded only.
bool store_equal_ansi_nocase(const std::string& a, const std::string& b);

// The length of a UTF-8 text in UTF-16 code units, the unit Windows counts
// name lengths and string data sizes in.
size_t store_utf16_units(const std::string& utf8);

// The root folder of the registry tree: QUILLBAY_REGISTRY, else
// $XDG_DATA_HOME/quillbay/registry, else ~/.local/share/quillbay/registry.
// PLAT_NOT_FOUND when none of them can be named.
int store_registry_root(std::string* native);

// The folder that stands for the Windows directory, where a bare INI file
// name is looked for: QUILLBAY_WINDIR, else "windows" beside the registry
// root.
int store_windows_dir(std::string* native);

#endif
#endif

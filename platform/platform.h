// The one narrow interface between the programs and the operating system.
//
// Every call the programs make on the system goes through these functions.
// Two backends implement them: platform/win32 (the real Windows API) and
// platform/posix (a Unix machine presented the way Wine presents it to a
// Windows program). Both must behave the same for the same inputs.
//
// Conventions:
// - Texts are 8-bit text in the active ANSI code page, zero-terminated.
// - Results go into caller-owned buffers of a given size. A call clears its
//   output first, so a failure never leaves stale text, and it never writes
//   more than the given size.
// - Calls that can fail return a plat_status; PLAT_OK is 0. Program logic
//   never sees errno or GetLastError.
#ifndef QUILLBAY_PLATFORM_H
#define QUILLBAY_PLATFORM_H

#include <stddef.h>
#include <stdint.h>

// ---------------------------------------------------------------- errors

enum plat_status {
    PLAT_OK = 0,
    PLAT_NOT_FOUND,       // file, directory, key, value or program missing
    PLAT_ACCESS_DENIED,   // exists but may not be opened, written or deleted
    PLAT_MORE_DATA,       // the caller's buffer is too small
    PLAT_NO_MORE_ITEMS,   // enumeration index past the last item
    PLAT_TOO_LONG,        // argument list or path too long for the system
    PLAT_NO_MEMORY,
    PLAT_BAD_NAME,        // a name the system cannot represent or accept
    PLAT_FAILED           // any other failure
};

// ---------------------------------------------------------------- start-up

// Called first thing in every main(). Gives the program its arguments as
// ANSI-code-page text split by the C run-time rules (argv[0] is the program
// as invoked). The posix backend converts from the locale's encoding here;
// a word that cannot be represented makes the call fail with PLAT_BAD_NAME.
int plat_start(int* argc, char*** argv);

// ---------------------------------------------------------------- registry

enum plat_root { PLAT_HKCU = 0, PLAT_HKLM = 1 };

enum plat_reg_type {
    PLAT_REG_NONE = 0,
    PLAT_REG_SZ = 1,
    PLAT_REG_EXPAND_SZ = 2,
    PLAT_REG_BINARY = 3,
    PLAT_REG_DWORD = 4,
    PLAT_REG_MULTI_SZ = 7
};

typedef struct plat_key_s* plat_key;

// RegOpenKeyExA with KEY_ALL_ACCESS. An empty path opens the root itself.
int plat_reg_open(plat_root root, const char* path, plat_key* key);
// RegCreateKeyExA with KEY_ALL_ACCESS: opens, or creates with every missing
// key above it.
int plat_reg_create(plat_root root, const char* path, plat_key* key);
void plat_reg_close(plat_key key);

// RegQueryValueExA. *size is the capacity in bytes on entry and the data
// size on return; PLAT_MORE_DATA when it does not fit (data then undefined).
// An empty or NULL name is the unnamed default value. type may be NULL.
int plat_reg_query_value(plat_key key, const char* name, uint32_t* type,
                         void* data, uint32_t* size);

// RegQueryInfoKeyA. Any pointer may be NULL. Name lengths are characters
// without the terminator; data length is bytes.
int plat_reg_query_info(plat_key key, uint32_t* subkeys,
                        uint32_t* max_subkey_len, uint32_t* values,
                        uint32_t* max_value_name_len,
                        uint32_t* max_value_data_len);

// RegEnumValueA. *name_len: capacity in characters (terminator included) on
// entry, length without terminator on return. *data_len: capacity in bytes
// on entry, data size on return. PLAT_NO_MORE_ITEMS past the last value,
// PLAT_MORE_DATA when a buffer is too small. type may be NULL.
int plat_reg_enum_value(plat_key key, uint32_t index, char* name,
                        uint32_t* name_len, uint32_t* type, void* data,
                        uint32_t* data_len);

// RegEnumKeyExA, same length conventions as the name of plat_reg_enum_value.
int plat_reg_enum_key(plat_key key, uint32_t index, char* name,
                      uint32_t* name_len);

// RegSetValueExA: creates or replaces a value.
int plat_reg_set_value(plat_key key, const char* name, uint32_t type,
                       const void* data, uint32_t size);

// RegDeleteKeyA: deletes root\path. Fails while the key has sub-keys.
int plat_reg_delete_key(plat_root root, const char* path);

// RegDeleteValueA.
int plat_reg_delete_value(plat_key key, const char* name);

// ---------------------------------------------------------------- INI files

// WritePrivateProfileStringA(section, key, value, file). A bare file name is
// looked for in the Windows directory; a path as given.
int plat_ini_write(const char* file, const char* section, const char* key,
                   const char* value);

// GetPrivateProfileSectionA(section, buffer, size, file): the section's
// lines as zero-terminated key=value strings followed by one more zero.
// Returns the characters copied without that final zero; size - 2 when the
// section did not fit. A missing file or section gives an empty list.
uint32_t plat_ini_read_section(const char* file, const char* section,
                               char* buffer, uint32_t size);

// ---------------------------------------------------------------- files

enum { PLAT_ATTR_DIRECTORY = 0x10 };

typedef struct plat_find_data {
    uint32_t attributes;
    char name[260];       // cFileName: the name as stored
    char short_name[14];  // cAlternateFileName: 8.3 name, or empty
} plat_find_data;

// GetFullPathNameA. *last_component is the offset of the last component in
// out, or (size_t)-1 when the path ends in a separator. PLAT_MORE_DATA when
// the result does not fit in out_size (out is then empty).
int plat_full_path(const char* name, char* out, size_t out_size,
                   size_t* last_component);

// FindFirstFileA followed at once by FindClose: the entry a path names.
int plat_find_entry(const char* path, plat_find_data* found);

// SearchPathA. dir NULL searches in the standard order (own directory,
// current directory, system directories, PATH); otherwise only dir.
// ext (".exe") is added to a name without extension. *file_part is the
// offset of the file-name part in out.
int plat_search_path(const char* dir, const char* name, const char* ext,
                     char* out, size_t out_size, size_t* file_part);

int plat_current_dir(char* out, size_t out_size);
int plat_set_current_dir(const char* dir);

// The modification time of a file in seconds since 1970 (_stat).
int plat_file_time(const char* path, int64_t* seconds);

// GetModuleFileNameA(NULL): the running program's own full file name.
int plat_module_path(char* out, size_t out_size);

// A text file read piece by piece as the C run-time's text mode reads it:
// CR LF reads as LF, a Ctrl-Z ends the file.
typedef struct plat_text_file_s* plat_text_file;
int plat_text_open(const char* path, plat_text_file* file);
// fgets: at most size - 1 bytes up to and including the next newline,
// zero-terminated. Returns 0 at the end of the file or on a read error.
int plat_text_gets(plat_text_file file, char* buffer, int size);
void plat_text_close(plat_text_file file);

// ---------------------------------------------------------------- processes

// Whether an environment variable is set (any value, even empty); the name
// is compared without regard to case, as on Windows.
int plat_env_present(const char* name);
// _putenv("NAME=value"): visible to children started afterwards.
int plat_env_put(const char* assignment);

// _spawnvp(_P_WAIT, program, argv): argv ends with NULL. The command line is
// argv joined by single blanks, no quotes added. A program name without '.'
// in its last component is tried with .com, .exe, .bat, .cmd; a name without
// '/' is then looked for along PATH. Returns PLAT_OK once the child has run
// and ended (its exit code is not reported), or PLAT_NOT_FOUND,
// PLAT_TOO_LONG, PLAT_NO_MEMORY, PLAT_FAILED when it could not be started.
int plat_spawn_wait(const char* program, const char* const* argv);

// ---------------------------------------------------------------- code page

typedef struct plat_code_page_info {
    unsigned code_page;           // GetACP
    unsigned char lead[256];      // 1 for a lead byte of a double-byte char
    unsigned char lower[256];     // single-byte lower-case mapping
} plat_code_page_info;

int plat_code_page(plat_code_page_info* info);

// LCMapStringA(LCMAP_LOWERCASE) of one double-byte character, in place.
// Fails when the locale cannot map it (the bytes are then unchanged).
int plat_lower_double_byte(unsigned char pair[2]);

// ---------------------------------------------------------------- output

// MessageBoxA(NULL, text, NULL, MB_OK): waits until the user closes it.
void plat_message_box(const char* text);

// Console output of the console programs, ANSI text.
void plat_write_stdout(const char* text);
void plat_write_stderr(const char* text);

#endif

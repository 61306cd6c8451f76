// INI files: WritePrivateProfileStringA and GetPrivateProfileSectionA over
// files of the Unix file system. The contents stay bytes of the code page;
// only the file name is translated.
#ifndef _WIN32
#include <string.h>

#include <string>

#include "ini_profile.h"
#include "platform.h"
#include "posix_encoding.h"
#include "posix_paths.h"
#include "reg_ini_store.h"

// A bare file name (no '\' and no '/') lives in the Windows directory, as
// the profile service places it; anything else is a path like any other.
static int ini_native_path(const char* file, std::string* native)
{
    char resolved[POSIX_PATH_SIZE];
    if (strchr(file, '\\') != NULL || strchr(file, '/') != NULL) {
        int status = posix_native_path(file, resolved, sizeof resolved);
        *native = resolved;
        return status;
    }
    std::string windows_dir;
    int status = store_windows_dir(&windows_dir);
    if (status != PLAT_OK)
        return status;
    // Through the Windows form of the folder, so that the name is matched
    // without regard to case as every other file name is.
    char windows_form[POSIX_PATH_SIZE];
    if (posix_windows_path(windows_dir.c_str(), windows_form, sizeof windows_form) == PLAT_OK) {
        std::string full = std::string(windows_form) + "\\" + file;
        status = posix_native_path(full.c_str(), resolved, sizeof resolved);
        *native = resolved;
        return status;
    }
    status = posix_to_utf8(file, resolved, sizeof resolved);
    *native = windows_dir + "/" + resolved;
    return status;
}

// The file as a profile; a missing file is an empty one.
static int load_profile(const char* file, std::string* native, ini_profile* profile)
{
    int status = ini_native_path(file, native);
    if (status != PLAT_OK)
        return status;
    std::string bytes;
    status = store_read_file(native->c_str(), &bytes);
    if (status != PLAT_OK && status != PLAT_NOT_FOUND)
        return status;
    ini_parse(bytes, profile);
    return PLAT_OK;
}

int plat_ini_write(const char* file, const char* section, const char* key,
                   const char* value)
{
    if (file == NULL || section == NULL)
        return PLAT_FAILED;
    std::string native;
    ini_profile profile;
    int status = load_profile(file, &native, &profile);
    if (status != PLAT_OK)
        return status;
    // An unchanged profile is not written back: the file keeps its bytes,
    // blank lines and all, and a delete on a missing file creates nothing.
    if (!ini_apply_write(&profile, section, key, value))
        return PLAT_OK;
    return store_write_file(native.c_str(), ini_serialize(profile));
}

uint32_t plat_ini_read_section(const char* file, const char* section,
                               char* buffer, uint32_t size)
{
    std::string native;
    ini_profile profile;
    if (file == NULL || section == NULL || load_profile(file, &native, &profile) != PLAT_OK)
        ini_parse(std::string(), &profile);
    return ini_copy_section(profile, section == NULL ? "" : section, buffer, size);
}
#endif

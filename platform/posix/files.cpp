// File naming backend: placeholder until the drive-Z emulation lands.
#ifndef _WIN32
#include "platform.h"

int plat_full_path(const char*, char* out, size_t out_size, size_t*) { if (out_size) out[0] = 0; return PLAT_FAILED; }
int plat_find_entry(const char*, plat_find_data*) { return PLAT_NOT_FOUND; }
int plat_search_path(const char*, const char*, const char*, char* out, size_t out_size, size_t*) { if (out_size) out[0] = 0; return PLAT_NOT_FOUND; }
int plat_current_dir(char* out, size_t out_size) { if (out_size) out[0] = 0; return PLAT_FAILED; }
int plat_set_current_dir(const char*) { return PLAT_FAILED; }
int plat_file_time(const char*, int64_t*) { return PLAT_NOT_FOUND; }
int plat_module_path(char* out, size_t out_size) { if (out_size) out[0] = 0; return PLAT_FAILED; }
#endif

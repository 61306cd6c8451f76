// Registry backend: placeholder until the file-tree registry lands.
#ifndef _WIN32
#include "platform.h"

int plat_reg_open(plat_root, const char*, plat_key*) { return PLAT_FAILED; }
int plat_reg_create(plat_root, const char*, plat_key*) { return PLAT_FAILED; }
void plat_reg_close(plat_key) {}
int plat_reg_query_value(plat_key, const char*, uint32_t*, void*, uint32_t*) { return PLAT_FAILED; }
int plat_reg_query_info(plat_key, uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*) { return PLAT_FAILED; }
int plat_reg_enum_value(plat_key, uint32_t, char*, uint32_t*, uint32_t*, void*, uint32_t*) { return PLAT_FAILED; }
int plat_reg_enum_key(plat_key, uint32_t, char*, uint32_t*) { return PLAT_FAILED; }
int plat_reg_set_value(plat_key, const char*, uint32_t, const void*, uint32_t) { return PLAT_FAILED; }
int plat_reg_delete_key(plat_root, const char*) { return PLAT_FAILED; }
int plat_reg_delete_value(plat_key, const char*) { return PLAT_FAILED; }
#endif

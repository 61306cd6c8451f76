// The source table and the two readers of the format list.
#include "format_sources.h"

#include <stdlib.h>
#include <string.h>

#include "mbtext.h"
#include "platform.h"

// In source index order; a name is spelled here as the menu key takes it.
static const char* const SOURCE_NAMES[SOURCE_COUNT] = {
    "WinTeX",
    "pTeX2GUI",
};

static const char WINTEX_FILE[] = "wintex.ini";
static const char WINTEX_SECTION[] = "TeXMode";
static const char BWPVTEX_KEY[] = "Software\\VELDO\\bwpvtex\\Format Files";

const char* format_source_name(int source_index)
{
    if (source_index < 0 || source_index >= SOURCE_COUNT)
        return "";
    return SOURCE_NAMES[source_index];
}

int find_format_source(const char* argument)
{
    for (int i = 0; i < SOURCE_COUNT; ++i)
        if (mb_equal_ascii_nocase(argument, SOURCE_NAMES[i]))
            return i;
    return -1;
}

int read_wintex_list(char** list, size_t* list_size)
{
    *list = NULL;
    *list_size = 0;
    char* block = static_cast<char*>(malloc(WINTEX_BLOCK_SIZE));
    if (block == NULL)
        return LIST_NO_MEMORY;
    // The profile reader answers "did not fit" with size - 2, which a section
    // of exactly that length also returns; both are taken as too large, as
    // the two cannot be told apart.
    uint32_t copied = plat_ini_read_section(WINTEX_FILE, WINTEX_SECTION, block,
                                            WINTEX_BLOCK_SIZE);
    if (copied >= WINTEX_BLOCK_SIZE - 2) {
        free(block);
        return LIST_TOO_LARGE;
    }
    *list = block;
    *list_size = WINTEX_BLOCK_SIZE;
    return LIST_READ;
}

bool bwpvtex_cut(char* data, size_t data_len, size_t* equals_at)
{
    for (size_t i = data_len; i-- > 0;) {
        if (data[i] == '(') {
            data[i] = '=';
            *equals_at = i;
            return true;
        }
        if (data[i] == ')' || data[i] == '.')
            data[i] = '\0';
    }
    return false;
}

int append_bwpvtex_value(char* list, size_t list_size, size_t* used,
                         const char* name, char* data, uint32_t data_len)
{
    // The unnamed default value and an empty string mark the end of the
    // formats bwpvtex keeps.
    if (name[0] == '\0' || data_len == 1)
        return VALUE_ENDS_LIST;
    // A value that is no "Name (file.fmt)" text (no '(', or no NUL after the
    // '=' within its own bytes) is some other setting: it is passed over so
    // that it neither runs past its data nor cuts the menu short.
    size_t equals_at = 0;
    if (!bwpvtex_cut(data, data_len, &equals_at))
        return VALUE_SKIPPED;
    const char* end = static_cast<const char*>(memchr(data, '\0', data_len));
    if (end == NULL || end < data + equals_at)
        return VALUE_SKIPPED;
    size_t entry_size = static_cast<size_t>(end - data) + 1;
    // The block's size always holds every value's entry and the final NUL;
    // should the key have grown while it was read, the list ends instead.
    if (*used >= list_size || entry_size >= list_size - *used)
        return VALUE_ENDS_LIST;
    memcpy(list + *used, data, entry_size);
    *used += entry_size;
    return VALUE_APPENDED;
}

// Walks the open key's values into the list block, leaving the final NUL.
static size_t read_bwpvtex_values(plat_key key, uint32_t values,
                                  uint32_t longest_name, uint32_t longest_data,
                                  char* work, char* list, size_t list_size)
{
    size_t used = 0;
    for (uint32_t index = 0; index < values; ++index) {
        char* name = work;
        char* data = work + longest_name + 1;
        uint32_t name_len = longest_name + 1;
        uint32_t data_len = longest_data + 1;
        if (plat_reg_enum_value(key, index, name, &name_len, NULL, data,
                                &data_len) != PLAT_OK
            || data_len > longest_data + 1)
            break;
        if (append_bwpvtex_value(list, list_size, &used, name, data, data_len)
            == VALUE_ENDS_LIST)
            break;
    }
    return used;
}

int read_bwpvtex_list(char** list, size_t* list_size)
{
    *list = NULL;
    *list_size = 0;
    plat_key key;
    if (plat_reg_open(PLAT_HKCU, BWPVTEX_KEY, &key) != PLAT_OK)
        return LIST_NONE;
    uint32_t values = 0, longest_name = 0, longest_data = 0;
    if (plat_reg_query_info(key, NULL, NULL, &values, &longest_name,
                            &longest_data) != PLAT_OK
        || values == 0 || longest_name == 0 || longest_data == 0) {
        plat_reg_close(key);
        return LIST_NONE;
    }
    // Sizes from the key are taken as they come; one that cannot be held in
    // memory is a failed allocation rather than an overflowed size.
    // Worked out in 64 bits, which a 32-bit size_t may not hold.
    uint64_t work_wide = static_cast<uint64_t>(longest_name) + longest_data + 2;
    bool representable = longest_name < UINT32_MAX && longest_data < UINT32_MAX
                         && work_wide <= (SIZE_MAX - 2) / values;
    size_t work_size = static_cast<size_t>(work_wide);
    size_t block_size = representable ? values * work_size + 2 : 0;
    char* block = representable ? static_cast<char*>(malloc(block_size)) : NULL;
    char* work = representable ? static_cast<char*>(malloc(work_size)) : NULL;
    if (block == NULL || work == NULL) {
        free(work);
        free(block);
        plat_reg_close(key);
        return LIST_NO_MEMORY;
    }
    size_t used = read_bwpvtex_values(key, values, longest_name, longest_data,
                                      work, block, block_size);
    block[used] = '\0';
    free(work);
    plat_reg_close(key);
    *list = block;
    *list_size = block_size;
    return LIST_READ;
}

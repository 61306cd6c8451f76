// Format classes, menu entry texts and the menu key's values.
#include "menu_writer.h"

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "format_sources.h"
#include "mbtext.h"
#include "platform.h"

static const char MENU_KEY_PREFIX[] = "Software\\Corve_Macro\\Quillbay\\FormatMenu\\";
static const char COUNT_VALUE[] = "Num";

// A row with class 0 ends a table and is the class when no keyword occurs.
struct format_class_row {
    int format_class;
    const char* keyword;
};

// WinTeX names its formats after their macro sets; bigger and AMS sets make
// class 1.
static const format_class_row WINTEX_CLASSES[] = {
    {1, "big"},
    {1, "ams"},
    {0, NULL},
};

// pTeX2GUI's format file names tell the engine; the order matters, since
// "jplatex" and "pdfplatex" also hold "platex".
static const format_class_row PTEX2GUI_CLASSES[] = {
    {3, "j"},
    {2, "pdf"},
    {1, "platex"},
    {1, "ptex"},
    {0, NULL},
};

// Per source index: its class table and which part of an entry it searches.
struct source_classes {
    const format_class_row* rows;
    bool searches_value_part;
};

static const source_classes CLASS_TABLES[SOURCE_COUNT] = {
    {WINTEX_CLASSES, false},
    {PTEX2GUI_CLASSES, true},
};

void measure_format_list(const char* list, size_t list_size, size_t* count,
                         size_t* longest)
{
    *count = 0;
    *longest = 0;
    size_t at = 0;
    // Value names are made from an int; no real list comes near that.
    while (at < list_size && list[at] != '\0' && *count < INT_MAX) {
        const char* end = static_cast<const char*>(memchr(list + at, '\0', list_size - at));
        if (end == NULL)
            break;
        size_t length = static_cast<size_t>(end - (list + at));
        ++*count;
        if (length > *longest)
            *longest = length;
        at += length + 1;
    }
}

int find_format_class(int source_index, const char* text)
{
    if (source_index < 0 || source_index >= SOURCE_COUNT)
        return 0;
    const format_class_row* row = CLASS_TABLES[source_index].rows;
    for (; row->format_class != 0; ++row)
        if (mb_find_word(text, row->keyword) != NULL)
            return row->format_class;
    return 0;
}

bool build_menu_entry(int source_index, char* entry, char* out, size_t out_size)
{
    if (source_index < 0 || source_index >= SOURCE_COUNT)
        return false;
    char* equals = mb_find(entry, '=');
    if (equals == NULL)
        return false;
    *equals = '\0';
    char* name = entry;
    char* value = equals + 1;
    size_t value_len = strlen(value);
    size_t name_len = strlen(name);
    if (out_size < value_len + name_len + 3)
        return false;

    // A double-byte character the locale cannot lower keeps its case, and
    // the entry is written all the same.
    mb_lower(value);
    out[0] = '0';
    memcpy(out + 1, value, value_len + 1);
    memcpy(out + value_len + 2, name, name_len + 1);
    // The lowered name is only searched; the menu shows it as found.
    mb_lower(name);

    bool by_value = CLASS_TABLES[source_index].searches_value_part;
    int format_class = find_format_class(source_index, by_value ? out + 1 : name);
    out[0] = static_cast<char>('0' + format_class);
    out[value_len + 1] = ':';
    return true;
}

// Writes the entries as "0", "1", ... and gives how many got a value.
static uint32_t write_menu_entries(plat_key key, char* list, size_t count,
                                   int source_index, char* work, size_t work_size)
{
    size_t written = 0;
    char* entry = list;
    for (; written < count; ++written) {
        size_t entry_len = strlen(entry);
        if (!build_menu_entry(source_index, entry, work, work_size))
            break;
        char value_name[12];
        mb_decimal(static_cast<int>(written), value_name);
        // A value that cannot be written is passed over; the rest still are.
        plat_reg_set_value(key, value_name, PLAT_REG_SZ, work,
                           static_cast<uint32_t>(strlen(work) + 1));
        entry += entry_len + 1;
    }
    return static_cast<uint32_t>(written);
}

int write_format_menu(char* list, size_t list_size, int source_index)
{
    size_t count = 0, longest = 0;
    measure_format_list(list, list_size, &count, &longest);
    // Taken before the key is touched, so that running short of memory
    // leaves the menu as it was rather than half rewritten.
    size_t work_size = longest + 10;
    char* work = static_cast<char*>(malloc(work_size));
    if (work == NULL)
        return MENU_NO_MEMORY;

    char key_path[TEXT_SIZE];
    plat_key key;
    if (!mb_copy(key_path, sizeof key_path, MENU_KEY_PREFIX)
        || !mb_append(key_path, sizeof key_path, format_source_name(source_index))
        || plat_reg_create(PLAT_HKCU, key_path, &key) != PLAT_OK) {
        free(work);
        return MENU_NO_KEY;
    }
    // Num counts only the values of this run: values left above it by an
    // earlier, longer menu must not be read as part of this one.
    uint32_t num = write_menu_entries(key, list, count, source_index, work, work_size);
    plat_reg_set_value(key, COUNT_VALUE, PLAT_REG_DWORD, &num, sizeof num);
    plat_reg_close(key);
    free(work);
    return MENU_WRITTEN;
}

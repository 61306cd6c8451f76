#include "project_info.h"

#include "mbtext.h"
#include "status_file.h"

void short_name(const source_name* record, int16_t dot, char out[TEXT_SIZE])
{
    const char* base = mb_find_last(record->name, '\\');
    base = base != NULL ? base + 1 : record->name;
    const char* end = record->name + dot;
    out[0] = '\0';
    if (end >= base)
        mb_copy_n(out, TEXT_SIZE, base, (size_t)(end - base));
}

void write_short_names(const char* status_path, const source_name* record)
{
    char name[TEXT_SIZE];
    short_name(record, record->last_dot, name);
    write_status_text(status_path, SECTION_PROJECT_INFO, KEY_SHORT_NAME, name);
    short_name(record, record->first_dot, name);
    write_status_text(status_path, SECTION_PROJECT_INFO, KEY_SHORT_NAME_OLD, name);
}

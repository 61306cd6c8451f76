// Building a path form by walking the directories of the file's full path.
#include "path_form.h"

#include <string.h>

#include "platform.h"

struct form_kind {
    char suffix;
    bool short_names;   // 8.3 alternate names where an entry has one
    bool lower_whole;   // lower-case the whole text, not only the drive
};

static const form_kind FORM_KINDS[FORM_COUNT] = {
    {'\0', false, true},
    {'2', false, false},
    {'3', true, true},
};

// The full path has "x:\" in front of its first directory.
enum { FIRST_COMPONENT = 3 };

// A full path the walk can work on: it names a file below a drive, and it
// holds no wildcard, which a directory lookup would match against some
// other entry and so report that entry's name as ours.
static bool usable_full_path(const char* full, size_t last_component)
{
    size_t length = strlen(full);
    if (last_component == (size_t)-1 || last_component < FIRST_COMPONENT ||
        last_component >= length)
        return false;
    return mb_find(full, '*') == NULL && mb_find(full, '?') == NULL;
}

static const char* entry_name(const plat_find_data* found, bool short_names)
{
    if (short_names && found->short_name[0] != '\0')
        return found->short_name;
    return found->name;
}

static bool append_component(char* text, const char* name)
{
    return mb_append(text, TEXT_SIZE, "\\") && mb_append(text, TEXT_SIZE, name);
}

// Appends "\name" for every directory of the full path, each looked up on
// disk: x:\a, then x:\a\b, and so on up to the file's own directory.
static bool append_directories(char* text, const char* full, bool short_names)
{
    for (const char* p = full; *p != '\0'; p += mb_char_len(p)) {
        size_t position = (size_t)(p - full);
        if (*p != '\\' || position < FIRST_COMPONENT)
            continue;
        char prefix[TEXT_SIZE];
        plat_find_data found;
        if (!mb_copy_n(prefix, sizeof prefix, full, position) ||
            plat_find_entry(prefix, &found) != PLAT_OK ||
            (found.attributes & PLAT_ATTR_DIRECTORY) == 0)
            return false;
        if (!append_component(text, entry_name(&found, short_names)))
            return false;
    }
    return true;
}

bool build_path_form(path_form* form, int index, const char* file_argument)
{
    const form_kind* kind = &FORM_KINDS[index];
    form->suffix = kind->suffix;
    form->last_separator = 0;
    form->text[0] = '\0';
    if (file_argument == NULL)
        return false;

    char full[TEXT_SIZE];
    size_t last_component = (size_t)-1;
    if (plat_full_path(file_argument, full, sizeof full, &last_component) != PLAT_OK ||
        !usable_full_path(full, last_component))
        return false;

    // The drive part is lower-case in every form.
    if (!mb_copy_n(form->text, TEXT_SIZE, full, 2))
        return false;
    mb_lower(form->text);
    if (!append_directories(form->text, full, kind->short_names))
        return false;

    // Only the short form looks the file itself up, and a file that is not
    // there is no failure: its name is then taken as written.
    const char* last = full + last_component;
    plat_find_data found;
    if (kind->short_names && plat_find_entry(full, &found) == PLAT_OK &&
        found.short_name[0] != '\0')
        last = found.short_name;
    if (!append_component(form->text, last))
        return false;

    if (kind->lower_whole)
        mb_lower(form->text);
    form->last_separator = (size_t)(mb_find_last(form->text, '\\') - form->text);
    return true;
}

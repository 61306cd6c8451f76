#include "long_name.h"

#include "platform.h"

// Whether the word starts with a drive: its second character is ':'.
static bool has_drive(const char* word)
{
    return mb_char_len(word) == 1 && word[1] == ':';
}

// Replaces the short-name components of an absolute path by their long
// names while joining the components into out.
static bool join_long_components(char* full, char out[TEXT_SIZE])
{
    out[0] = '\0';
    char* component = full;
    for (;;) {
        char* separator = mb_find(component, '\\');
        bool last = separator == NULL;
        if (!last)
            *separator = '\0';

        // The search names the full path up to and including the component;
        // full is cut there for the moment.
        const char* text = component;
        plat_find_data found;
        bool ok = true;
        if (mb_find(component, '~') != NULL) {
            ok = plat_find_entry(full, &found) == PLAT_OK &&
                 (last || (found.attributes & PLAT_ATTR_DIRECTORY) != 0);
            text = found.name;
        }
        bool appended = ok && mb_append(out, TEXT_SIZE, text);
        if (!last)
            *separator = '\\';
        if (last || !appended)
            return appended;
        if (!mb_append(out, TEXT_SIZE, "\\"))
            return false;
        component = separator + 1;
    }
}

bool expand_long_name(const char* word, char out[TEXT_SIZE])
{
    out[0] = '\0';
    if (has_drive(word) && mb_find(word, '~') == NULL) {
        if (!mb_copy(out, TEXT_SIZE, word))
            return false;
    } else {
        char full[TEXT_SIZE];
        size_t last_component = 0;
        if (plat_full_path(word, full, sizeof full, &last_component) != PLAT_OK ||
            !join_long_components(full, out))
            return false;
    }
    return mb_lower(out);
}

// The depth-first removal. Each level opens its key from the root, gathers
// every sub-key name and closes the key before it descends, so at most one
// key is open and no key is enumerated while keys below it are deleted.
#include "subtree_removal.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "purge_messages.h"
#include "purge_text.h"

// The names of all sub-keys, one slot of slot_size bytes each, plus one
// byte so that a key without sub-keys still gets a table. A slot whose name
// cannot be enumerated (the key changed since it was counted) is left empty
// and skipped: an empty name would make the walk work on this key again.
static char* gather_sub_key_names(plat_key key, uint32_t count, size_t slot_size)
{
    if (count > (SIZE_MAX - 1) / slot_size)
        return NULL;
    char* names = (char*)calloc((size_t)count * slot_size + 1, 1);
    if (names == NULL)
        return NULL;
    for (uint32_t i = 0; i < count; ++i) {
        char* slot = names + (size_t)i * slot_size;
        uint32_t length = (uint32_t)slot_size;
        if (plat_reg_enum_key(key, i, slot, &length) != PLAT_OK)
            slot[0] = '\0';
        slot[slot_size - 1] = '\0';
    }
    return names;
}

void remove_subtree(plat_root root, char path[KEY_PATH_SIZE])
{
    const size_t own_length = strlen(path);
    plat_key key;
    if (plat_reg_open(root, path, &key) != PLAT_OK) {
        show_message(MSG_OPEN_FAILED);
        return;
    }
    uint32_t count = 0;
    uint32_t longest = 0;
    if (plat_reg_query_info(key, &count, &longest, NULL, NULL, NULL) != PLAT_OK) {
        plat_reg_close(key);
        show_message(MSG_OPEN_FAILED);
        return;
    }
    if (own_length + longest >= KEY_PATH_LIMIT) {
        plat_reg_close(key);
        return;
    }
    const size_t slot_size = (size_t)longest + 1;
    char* names = gather_sub_key_names(key, count, slot_size);
    plat_reg_close(key);
    // Without the names nothing below can be reached, so the key stays.
    if (names == NULL) {
        show_message(MSG_OPEN_FAILED);
        return;
    }

    // Below the limit the path with "\name" is far within the buffer.
    bounded_append(path, KEY_PATH_SIZE, "\\");
    for (uint32_t i = 0; i < count; ++i) {
        const char* name = names + (size_t)i * slot_size;
        if (name[0] == '\0')
            continue;
        if (bounded_append(path, KEY_PATH_SIZE, name))
            remove_subtree(root, path);
        path[own_length + 1] = '\0';
    }
    free(names);
    path[own_length] = '\0';

    if (plat_reg_delete_key(root, path) != PLAT_OK)
        show_delete_failure(path);
}

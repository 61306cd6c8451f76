// Removing a registry key with every key below it, depth-first.
#ifndef QUILLBAY_SUBTREE_REMOVAL_H
#define QUILLBAY_SUBTREE_REMOVAL_H

#include "key_path.h"

// Removes root\path and everything below it. path is the working buffer:
// each level appends "\name" for its sub-keys and cuts it back before it
// returns, so path is unchanged afterwards. Failures are shown in message
// boxes and the walk goes on; a key whose path and longest sub-key name
// reach KEY_PATH_LIMIT is left silently.
void remove_subtree(plat_root root, char path[KEY_PATH_SIZE]);

#endif

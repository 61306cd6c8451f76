// The format sources fmtmenu can read, and the two readers that turn their
// settings into a format list: a block of NUL-terminated name=value entries
// that ends with an empty entry (one more NUL).
#ifndef QUILLBAY_FORMAT_SOURCES_H
#define QUILLBAY_FORMAT_SOURCES_H

#include <stddef.h>
#include <stdint.h>

enum format_source_index { SOURCE_WINTEX = 0, SOURCE_PTEX2GUI = 1, SOURCE_COUNT = 2 };

// The name of a source as the menu key spells it ("WinTeX", "pTeX2GUI").
const char* format_source_name(int source_index);

// The source index of an argument, compared whole with ASCII letters folded
// and every other byte exact; -1 when no source has that name.
int find_format_source(const char* argument);

enum list_result {
    LIST_READ,        // *list holds the format list; the caller frees it
    LIST_TOO_LARGE,   // the WinTeX section does not fit the block
    LIST_NONE,        // the bwpvtex key gives no list
    LIST_NO_MEMORY    // a block could not be had
};

// Size of the block the WinTeX section is read into.
enum { WINTEX_BLOCK_SIZE = 32767 };

// Section "TeXMode" of "wintex.ini" in the Windows directory. A missing file
// or section is an empty list.
int read_wintex_list(char** list, size_t* list_size);

// One value per format under HKCU Software\VELDO\bwpvtex\Format Files.
int read_bwpvtex_list(char** list, size_t* list_size);

// The bwpvtex cut, on the data bytes of one value and nowhere else: from the
// last byte towards the first, every ')' and '.' becomes a NUL until a '('
// is met, which becomes '='. Gives its offset in *equals_at, or false when
// the data holds no '(' (the bytes are then changed all the same).
bool bwpvtex_cut(char* data, size_t data_len, size_t* equals_at);

enum value_result {
    VALUE_APPENDED,   // the value's entry was added to the list
    VALUE_SKIPPED,    // the value holds no format entry; go on with the next
    VALUE_ENDS_LIST   // the reading ends here; later values are not read
};

// Turns one value read from the bwpvtex key into an entry appended to the
// list at *used, keeping room for the final NUL within list_size. The data
// is cut in place; nothing outside data[0, data_len) is read.
int append_bwpvtex_value(char* list, size_t list_size, size_t* used,
                         const char* name, char* data, uint32_t data_len);

#endif

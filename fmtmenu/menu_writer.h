// The menu writer: gives each entry of a format list a format class and
// writes the entries as the format menu below
// HKCU Software\Corve_Macro\Quillbay\FormatMenu\<source name>: values "0",
// "1", ... (REG_SZ) and their count "Num" (REG_DWORD).
#ifndef QUILLBAY_MENU_WRITER_H
#define QUILLBAY_MENU_WRITER_H

#include <stddef.h>

// Counts the entries of a format list up to its first empty entry and finds
// the length of the longest. Nothing past list_size bytes is read: an entry
// that is not terminated within the block is not counted.
void measure_format_list(const char* list, size_t list_size, size_t* count,
                         size_t* longest);

// The format class of a lower-case text by the source's class table: the
// first row whose keyword occurs at a character boundary, else 0.
int find_format_class(int source_index, const char* text);

// Builds one menu entry's text into out: the class digit, the value part
// lower-cased, ':', then the name part as found. The entry is changed in
// place (cut at its first '=', both parts lower-cased). False when the entry
// has no '=', or out (which needs strlen(entry) + 2 bytes) is too small.
bool build_menu_entry(int source_index, char* entry, char* out,
                      size_t out_size);

enum menu_result {
    MENU_WRITTEN,    // the key was opened and the entries written
    MENU_NO_KEY,     // the menu key could not be created; nothing written
    MENU_NO_MEMORY   // no work buffer; nothing written
};

// Writes the menu of one format source from its list (changed in place).
// Num is the number of numbered values this run wrote: an entry without
// '=' ends the menu, and Num then stops before it.
int write_format_menu(char* list, size_t list_size, int source_index);

#endif

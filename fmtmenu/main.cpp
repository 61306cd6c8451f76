// fmtmenu: builds the format menu of the editor macros from another TeX
// front end's format list. Shows a message box only when started without
// an argument; the exit code tells the macros what happened.
#include <stdlib.h>

#include "fmtmenu_codes.h"
#include "format_sources.h"
#include "menu_writer.h"
#include "platform.h"

const char MSG_INVALID_COMMAND_LINE[] = "Invalid Command Line.";

int main(int argc, char** argv)
{
    // An argument the code page cannot hold names no format source.
    if (plat_start(&argc, &argv) != PLAT_OK)
        return FMTMENU_BAD_ARGUMENT;
    if (argc < 2) {
        plat_message_box(MSG_INVALID_COMMAND_LINE);
        return FMTMENU_BAD_ARGUMENT;
    }
    int source_index = find_format_source(argv[1]);
    if (source_index < 0)
        return FMTMENU_BAD_ARGUMENT;

    char* list = NULL;
    size_t list_size = 0;
    int read = source_index == SOURCE_WINTEX ? read_wintex_list(&list, &list_size)
                                             : read_bwpvtex_list(&list, &list_size);
    if (read != LIST_READ)
        return FMTMENU_NO_LIST;
    int written = write_format_menu(list, list_size, source_index);
    free(list);
    return written == MENU_NO_MEMORY ? FMTMENU_NO_LIST : FMTMENU_DONE;
}

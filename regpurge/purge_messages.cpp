// Message texts of regpurge, each once.
#include "purge_messages.h"

#include "key_path.h"
#include "platform.h"
#include "purge_text.h"

static const char* const MESSAGES[] = {
    "Invalid Command Line",       // MSG_INVALID_COMMAND_LINE
    "Failed to Open Registry.",   // MSG_OPEN_FAILED
};

static const char DELETE_FAILED[] = "Failed to Delete :\n ";

void show_message(purge_message message)
{
    plat_message_box(MESSAGES[message]);
}

void show_delete_failure(const char* key_path)
{
    // Room for the longest key path the buffer can hold behind the words.
    char text[sizeof DELETE_FAILED + KEY_PATH_SIZE];
    text[0] = '\0';
    bounded_append(text, sizeof text, DELETE_FAILED);
    bounded_append(text, sizeof text, key_path);
    plat_message_box(text);
}

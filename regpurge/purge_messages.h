// The message boxes of regpurge and its exit codes.
#ifndef QUILLBAY_PURGE_MESSAGES_H
#define QUILLBAY_PURGE_MESSAGES_H

enum purge_exit { PURGE_DONE = 0, PURGE_INVALID_COMMAND_LINE = 1 };

enum purge_message { MSG_INVALID_COMMAND_LINE, MSG_OPEN_FAILED };

void show_message(purge_message message);

// "Failed to Delete :", a line feed, one blank, then the key path.
void show_delete_failure(const char* key_path);

#endif

#include "engine_args.h"

#include <string.h>

#include "long_name.h"

// Word kinds, by the first character.
static bool is_option(const char* word) { return word[0] == '-'; }
static bool is_command_string(const char* word) { return word[0] == '\\'; }

static bool append_entry(engine_args* args, int* count, const char* text)
{
    if (*count >= ENGINE_ARGS_SIZE - 1)
        return false;
    args->entry[(*count)++] = text;
    args->entry[*count] = NULL;
    return true;
}

ravick_message build_engine_args(engine_args* args, const char* engine_path,
                                 const char* pending_format,
                                 const char* const* words, int word_count,
                                 source_name* source)
{
    int count = 0;
    args->entry[0] = NULL;
    source->name[0] = '\0';
    source->first_dot = source->last_dot = -1;
    append_entry(args, &count, engine_path);

    for (int i = 0; i < word_count; ++i) {
        const char* word = words[i];
        if (!is_option(word) && pending_format != NULL) {
            if (!append_entry(args, &count, pending_format))
                return MSG_TOO_LONG_ARGUMENTS;
            pending_format = NULL;
        }
        if (is_option(word) || is_command_string(word)) {
            if (!append_entry(args, &count, word))
                return MSG_TOO_LONG_ARGUMENTS;
            continue;
        }
        char* text = args->source_text[count];
        if (!expand_long_name(word, text))
            return MSG_NO_LONG_NAME;
        // The record's dots are found on the backslash form, the one the
        // log is later looked for under; the offsets hold for both forms.
        build_source_name(source, text);
        mb_convert_slashes(source->name, true);
        mb_convert_slashes(text, true);
        if (!append_entry(args, &count, text))
            return MSG_TOO_LONG_ARGUMENTS;
    }
    return MSG_NONE;
}

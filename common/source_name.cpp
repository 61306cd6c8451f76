#include "source_name.h"

#include <string.h>

#include "platform.h"

// Offset of a dot as the record stores it, or -1 when it is not a positive
// signed 16-bit number.
static int16_t dot_offset(const char* name, const char* dot)
{
    ptrdiff_t offset = dot - name;
    if (offset <= 0 || offset > INT16_MAX)
        return -1;
    return (int16_t)offset;
}

bool build_source_name(source_name* record, const char* file_name)
{
    record->first_dot = -1;
    record->last_dot = -1;
    if (file_name != record->name &&
        !mb_copy(record->name, sizeof record->name, file_name)) {
        record->name[0] = '\0';
        return false;
    }
    char* base = mb_find_last(record->name, '\\');
    base = base ? base + 1 : record->name;
    if (*base == '.')
        ++base;
    char* first = mb_find(base, '.');
    if (first == NULL)
        return false;
    record->first_dot = dot_offset(record->name, first);
    if (record->first_dot < 0)
        return false;
    record->last_dot = dot_offset(record->name, mb_find_last(base, '.'));
    if (record->last_dot < 0)
        return false;
    return record->first_dot <= record->last_dot;
}

struct verdict_entry {
    int code;
    const char* text;
};

// Searched in this order within each piece of the log; the first entry
// found decides.
static const verdict_entry VERDICT_TABLE[] = {
    {VERDICT_EDIT, "? e"},
    {VERDICT_STOPPED, "? x"},
    {VERDICT_STOPPED, "! Emergency stop."},
    {VERDICT_STOPPED, "No pages of output."},
    {VERDICT_RUN_AGAIN, "LaTeX Warning: Label(s) may have changed."},
    {VERDICT_NO_LOG, ""},
};

// A piece of the log is at most this many characters: one line, or a run of
// a longer line.
enum { LOG_PIECE = 258 };

static bool open_log(char work[TEXT_SIZE], const source_name* record,
                     int16_t dot, plat_text_file* log)
{
    memcpy(work, record->name, TEXT_SIZE);
    work[dot] = '\0';
    if (!mb_append(work, TEXT_SIZE, ".log"))
        return false;
    return plat_text_open(work, log) == PLAT_OK;
}

enum { VERDICT_TEXTS = sizeof VERDICT_TABLE / sizeof VERDICT_TABLE[0] - 1 };

// The first bytes of the verdict texts, each once: the only bytes where a
// verdict text can begin.
static void verdict_first_bytes(char out[VERDICT_TEXTS + 1])
{
    size_t count = 0;
    for (const verdict_entry* entry = VERDICT_TABLE; entry->code != VERDICT_NO_LOG; ++entry) {
        if (memchr(out, entry->text[0], count) == NULL)
            out[count++] = entry->text[0];
    }
    out[count] = '\0';
}

// The code of the earliest table entry found in the piece at a character
// start, or VERDICT_CLEAN. One pass over the piece finds every place where
// a text may begin; each place is compared with the texts that begin with
// its byte, and whether it starts a character is settled only for a match,
// by a walk that never goes back.
static int piece_verdict(const char* piece, const char* first_bytes)
{
    int best = VERDICT_TEXTS;   // table index of the best entry found so far
    const char* start = piece;  // a character start at or before the place
    for (const char* at = strpbrk(piece, first_bytes); at != NULL;
         at = strpbrk(at + 1, first_bytes)) {
        for (int i = 0; i < best; ++i) {
            const char* text = VERDICT_TABLE[i].text;
            if (text[0] != *at || strncmp(at, text, strlen(text)) != 0)
                continue;
            while (start < at)
                start += mb_char_len(start);
            if (start != at)
                break;   // a second byte: nothing matches here
            best = i;
            if (best == 0)
                return VERDICT_TABLE[0].code;
            break;   // later entries rank lower
        }
    }
    return best < VERDICT_TEXTS ? VERDICT_TABLE[best].code : VERDICT_CLEAN;
}

int log_verdict(const source_name* record)
{
    if (record->first_dot <= 0 || record->last_dot < record->first_dot ||
        record->last_dot >= TEXT_SIZE)
        return VERDICT_NO_LOG;
    char work[TEXT_SIZE];
    plat_text_file log;
    if (!open_log(work, record, record->last_dot, &log) &&
        !open_log(work, record, record->first_dot, &log))
        return VERDICT_NO_LOG;
    char first_bytes[VERDICT_TEXTS + 1];
    verdict_first_bytes(first_bytes);
    int result = VERDICT_CLEAN;
    while (result == VERDICT_CLEAN && plat_text_gets(log, work, LOG_PIECE + 1))
        result = piece_verdict(work, first_bytes);
    plat_text_close(log);
    return result;
}

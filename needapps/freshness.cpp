#include "freshness.h"

#include <stdint.h>

#include "mbtext.h"
#include "needapps_codes.h"
#include "platform.h"

const char MSG_NO_TIME_STAMP[] = "Failed to get time stamp.";

// The typeset output, by whether the source asks for PDF output.
static const char* const OUTPUT_EXTENSIONS[2] = {".dvi", ".pdf"};

// Files that a run of an auxiliary tool leaves beside the output; each is
// looked at only when the source calls for that tool, in this order.
struct companion {
    const char* extension;
    int needed_by;   // scan bit that makes the file worth a look
};
static const companion COMPANIONS[] = {
    {".aux", NEED_BIBLIOGRAPHY},
    {".idx", NEED_INDEX},
};

// The source's name up to the dot at offset cut, followed by extension. A
// name that would not fit in a path text names no file that the system
// could open, so it counts as missing rather than being shortened into the
// name of some other file.
static bool candidate_name(char out[TEXT_SIZE], const source_name* record,
                           int16_t cut, const char* extension)
{
    out[0] = '\0';
    return mb_copy_n(out, TEXT_SIZE, record->name, (size_t)cut) &&
           mb_append(out, TEXT_SIZE, extension);
}

// The time stamp of the first candidate of one cut that has one.
static bool first_candidate_time(const source_name* record, int16_t cut,
                                 int scan_result, int64_t* seconds)
{
    const char* output = OUTPUT_EXTENSIONS[(scan_result & NEED_PDF) != 0];
    char name[TEXT_SIZE];
    if (candidate_name(name, record, cut, output) &&
        plat_file_time(name, seconds) == PLAT_OK)
        return true;
    for (const companion& c : COMPANIONS) {
        if ((scan_result & c.needed_by) != 0 &&
            candidate_name(name, record, cut, c.extension) &&
            plat_file_time(name, seconds) == PLAT_OK)
            return true;
    }
    return false;
}

int check_freshness(const source_name* record, int scan_result)
{
    int64_t source_time;
    if (plat_file_time(record->name, &source_time) != PLAT_OK) {
        plat_message_box(MSG_NO_TIME_STAMP);
        return NEEDAPPS_FAILED;
    }
    // The name cut at its last dot is the project as the editor names it;
    // the cut at the first dot finds the output of a project whose source
    // carries a second extension (paper.final.tex typeset as paper.dvi).
    // With a single dot both cuts are one and the same.
    const int16_t cuts[2] = {record->last_dot, record->first_dot};
    for (int16_t cut : cuts) {
        int64_t candidate_time;
        if (first_candidate_time(record, cut, scan_result, &candidate_time))
            return source_time > candidate_time ? OUT_OF_DATE : 0;
    }
    return OUT_OF_DATE;
}

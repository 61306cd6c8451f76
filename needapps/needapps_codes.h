// The bits of require_apps, the answer needapps records for the editor
// macros and ends with, and the one message it can show.
#ifndef QUILLBAY_NEEDAPPS_CODES_H
#define QUILLBAY_NEEDAPPS_CODES_H

enum needapps_bit {
    NEED_BIBLIOGRAPHY = 1,   // the source asks for a bibliography run
    NEED_INDEX = 2,          // the source asks for an index run
    NEED_PDF = 4,            // the source switches the engine to PDF output
    SCAN_ALL_FOUND = NEED_BIBLIOGRAPHY | NEED_INDEX | NEED_PDF,
    OUT_OF_DATE = 8,         // the typeset output is older than the source
    NEEDAPPS_FAILED = 16     // no source to scan, or no time stamp for it
};

// Shown when the source could be read but its time stamp could not.
extern const char MSG_NO_TIME_STAMP[];

#endif

// The freshness check: is the typeset output of a project older than its
// source?
#ifndef QUILLBAY_FRESHNESS_H
#define QUILLBAY_FRESHNESS_H

#include "source_name.h"

// Compares the source's modification time with that of the first candidate
// beside it that exists: the name cut at its last dot, then at its first
// dot, each followed by the output extension (".pdf" when scan_result has
// NEED_PDF, else ".dvi"), then ".aux" when it has NEED_BIBLIOGRAPHY, then
// ".idx" when it has NEED_INDEX. Returns 0 when that candidate is as young
// as the source or younger, OUT_OF_DATE when it is older or no candidate
// exists, and NEEDAPPS_FAILED after telling the user in a message box when
// the source's own time stamp cannot be read. The record must be valid.
int check_freshness(const source_name* record, int scan_result);

#endif

// The directive scan: a plain textual search of a TeX source for the
// commands that call for a bibliography run, an index run and PDF output.
#ifndef QUILLBAY_DIRECTIVE_SCAN_H
#define QUILLBAY_DIRECTIVE_SCAN_H

// Reads the file in text mode, piece by piece (a line, or 259 characters of
// a longer one), each piece cut at its first '%', and returns the bits
// NEED_BIBLIOGRAPHY, NEED_INDEX and NEED_PDF found, or NEEDAPPS_FAILED alone
// when the file cannot be opened. Stops reading once all three are found.
int scan_directives(const char* source);

#endif

#include "directive_scan.h"

#include <string.h>

#include "mbtext.h"
#include "needapps_codes.h"
#include "platform.h"

// The words that call for an auxiliary run. An entry's bit is its position
// in the table plus one, so the order is fixed: bibliography 1, index 2.
static const char* const DIRECTIVE_WORDS[] = {
    "\\bibliography",
    "\\makeindex",
};
enum { DIRECTIVE_COUNT = sizeof DIRECTIVE_WORDS / sizeof DIRECTIVE_WORDS[0] };

// PDF output is asked for by this word with a '1' somewhere after it on the
// same line, as in \pdfoutput=1; only its first occurrence is looked at.
static const char PDF_OUTPUT_WORD[] = "\\pdfoutput";
enum { PDF_OUTPUT_LENGTH = sizeof PDF_OUTPUT_WORD - 1 };

// How the piece walker treats a byte: most bytes can be stepped over at
// once; a lead byte takes its second byte with it; the rest need a look.
enum byte_class { BYTE_PLAIN = 0, BYTE_LEAD, BYTE_SPECIAL };

static void classify_bytes(unsigned char classes[256])
{
    for (int c = 0; c < 256; ++c)
        classes[c] = mb_is_lead((unsigned char)c) ? BYTE_LEAD : BYTE_PLAIN;
    classes[(unsigned char)'\0'] = BYTE_SPECIAL;
    classes[(unsigned char)'%'] = BYTE_SPECIAL;
    classes[(unsigned char)'\\'] = BYTE_SPECIAL;
    classes[(unsigned char)'1'] = BYTE_SPECIAL;
}

// Examines one piece and returns result with the bits it shows. The piece
// is walked once, character by character, so that no match ever starts at
// the second byte of a double-byte character. The walk ends at the first
// '%': TeX ignores the rest of the line, an escaped \% included, and a '%'
// in the first column leaves nothing to examine at all.
static int scan_piece(const char* piece, int result,
                      const unsigned char classes[256])
{
    // The word holds no '1', so any '1' after its start lies after it.
    bool pdf_word_seen = false;
    const char* p = piece;
    for (;;) {
        while (classes[(unsigned char)*p] == BYTE_PLAIN)
            ++p;
        if (classes[(unsigned char)*p] == BYTE_LEAD) {
            // A lead byte at the end of the piece stands alone.
            p += p[1] != '\0' ? 2 : 1;
            continue;
        }
        switch (*p) {
        case '\0':
        case '%':
            return result;
        case '1':
            if (pdf_word_seen)
                result |= NEED_PDF;
            break;
        default:   // a backslash: does one of the words begin here?
            for (int i = 0; i < DIRECTIVE_COUNT; ++i) {
                const char* word = DIRECTIVE_WORDS[i];
                if (strncmp(p, word, strlen(word)) == 0)
                    result |= i + 1;
            }
            if (!pdf_word_seen)
                pdf_word_seen = strncmp(p, PDF_OUTPUT_WORD, PDF_OUTPUT_LENGTH) == 0;
            break;
        }
        ++p;
    }
}

int scan_directives(const char* source)
{
    plat_text_file file;
    if (plat_text_open(source, &file) != PLAT_OK)
        return NEEDAPPS_FAILED;
    unsigned char classes[256];
    classify_bytes(classes);
    // One piece is at most TEXT_SIZE - 1 characters; a longer line comes
    // in several pieces, each examined on its own, so a word split across
    // two pieces is not seen.
    char piece[TEXT_SIZE];
    int result = 0;
    while (result != SCAN_ALL_FOUND && plat_text_gets(file, piece, TEXT_SIZE))
        result = scan_piece(piece, result, classes);
    plat_text_close(file);
    return result;
}

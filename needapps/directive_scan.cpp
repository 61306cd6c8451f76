#include "directive_scan.h"

#include <stdint.h>
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

// What the scan needs to know of the code page, looked up once per file.
struct scan_tables {
    // How the character walk treats a byte: most bytes can be stepped over
    // at once; a lead byte takes its second byte with it; the rest need a
    // look.
    unsigned char classes[256];
    // The lowest lead byte, 256 in a single-byte code page. A piece with no
    // byte this high holds single-byte characters only.
    unsigned lead_floor;
};

enum byte_class { BYTE_PLAIN = 0, BYTE_LEAD, BYTE_SPECIAL };

static void load_tables(scan_tables* tables)
{
    tables->lead_floor = 256;
    for (unsigned c = 0; c < 256; ++c) {
        const bool lead = mb_is_lead((unsigned char)c);
        tables->classes[c] = lead ? BYTE_LEAD : BYTE_PLAIN;
        if (lead && c < tables->lead_floor)
            tables->lead_floor = c;
    }
    tables->classes[(unsigned char)'\0'] = BYTE_SPECIAL;
    tables->classes[(unsigned char)'%'] = BYTE_SPECIAL;
    tables->classes[(unsigned char)'\\'] = BYTE_SPECIAL;
    tables->classes[(unsigned char)'1'] = BYTE_SPECIAL;
}

// The bits of the directive words that begin at p. The words hold no '%',
// so none can reach past a comment cut that follows p.
static int directive_bits_at(const char* p)
{
    int bits = 0;
    for (int i = 0; i < DIRECTIVE_COUNT; ++i) {
        // Most backslashes begin other commands: the letter after it
        // settles that before a whole comparison.
        const char* word = DIRECTIVE_WORDS[i];
        if (p[1] == word[1] && strncmp(p, word, strlen(word)) == 0)
            bits |= i + 1;
    }
    return bits;
}

static bool pdf_output_word_at(const char* p)
{
    return p[1] == PDF_OUTPUT_WORD[1] &&
           strncmp(p, PDF_OUTPUT_WORD, PDF_OUTPUT_LENGTH) == 0;
}

// Every examination below ends at the first '%' of the piece: TeX ignores
// the rest of the line, an escaped \% included, and a '%' in the first
// column leaves nothing to examine at all.

// A piece of single-byte characters: every byte starts a character, so the
// library's byte searches find the backslashes, the cut and the '1'.
static int scan_single_byte_piece(const char* piece, int result)
{
    bool pdf_word_tested = false;
    for (const char* p = piece; (p = strpbrk(p, "%\\")) != NULL && *p != '%'; ++p) {
        result |= directive_bits_at(p);
        if (!pdf_word_tested && pdf_output_word_at(p)) {
            // Only the first \pdfoutput of the piece is tested, up to the cut.
            pdf_word_tested = true;
            const char* rest = p + PDF_OUTPUT_LENGTH;
            const char* one = strpbrk(rest, "%1");
            if (one != NULL && *one == '1')
                result |= NEED_PDF;
        }
    }
    return result;
}

// A piece that may hold double-byte characters, walked character by
// character so that no match ever starts at a second byte.
static int scan_double_byte_piece(const char* piece, int result,
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
        default:   // a backslash
            result |= directive_bits_at(p);
            if (!pdf_word_seen)
                pdf_word_seen = pdf_output_word_at(p);
            break;
        }
        ++p;
    }
}

// Whether a piece holds a byte above 0x7F, tested eight bytes at a time.
static bool has_high_byte(const char* piece, size_t length)
{
    const uint64_t high_bits = 0x8080808080808080ULL;
    uint64_t any = 0;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        memcpy(&word, piece + i, sizeof word);
        any |= word;
    }
    for (; i < length; ++i)
        any |= (unsigned char)piece[i];
    return (any & high_bits) != 0;
}

// Examines one piece and returns result with the bits it shows. The lead
// bytes of the double-byte code pages all lie above 0x7F, so only a piece
// with such a byte needs the character walk.
static int scan_piece(const char* piece, int result, const scan_tables* tables)
{
    const bool walk = tables->lead_floor < 0x80 ||
                      (tables->lead_floor < 256 && has_high_byte(piece, strlen(piece)));
    if (walk)
        return scan_double_byte_piece(piece, result, tables->classes);
    return scan_single_byte_piece(piece, result);
}

int scan_directives(const char* source)
{
    plat_text_file file;
    if (plat_text_open(source, &file) != PLAT_OK)
        return NEEDAPPS_FAILED;
    scan_tables tables;
    load_tables(&tables);
    // One piece is at most TEXT_SIZE - 1 characters; a longer line comes
    // in several pieces, each examined on its own, so a word split across
    // two pieces is not seen.
    char piece[TEXT_SIZE];
    int result = 0;
    while (result != SCAN_ALL_FOUND && plat_text_gets(file, piece, TEXT_SIZE))
        result = scan_piece(piece, result, &tables);
    plat_text_close(file);
    return result;
}

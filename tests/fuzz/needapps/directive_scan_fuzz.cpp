// The directive scan over arbitrary source bytes against a reference: the
// file as text mode reads it, cut into pieces of at most 259 characters that
// end after a newline, each piece cut at a NUL and at its first '%', and
// searched for the words at character starts only.
#include <string.h>

#include <string>

#include "directive_scan.h"
#include "fuzz_check.h"
#include "fuzz_file.h"
#include "mbtext.h"
#include "needapps_codes.h"
#include "platform.h"

static plat_code_page_info info;

// Where each character of the piece starts; a lead byte as the last byte of
// the piece is a character of its own.
static std::string character_starts(const std::string& piece)
{
    std::string starts(piece.size(), 0);
    for (size_t i = 0; i < piece.size(); ++i) {
        starts[i] = 1;
        if (info.lead[(unsigned char)piece[i]] && i + 1 < piece.size())
            ++i;
    }
    return starts;
}

static size_t find_at_start(const std::string& piece, const std::string& starts,
                            const std::string& word, size_t from)
{
    for (size_t i = from; i < piece.size(); ++i)
        if (starts[i] && piece.compare(i, word.size(), word) == 0)
            return i;
    return std::string::npos;
}

static int reference_piece(std::string piece)
{
    piece.erase(strnlen(piece.c_str(), piece.size()));
    std::string starts = character_starts(piece);
    size_t percent = find_at_start(piece, starts, "%", 0);
    if (percent == 0)
        return 0;
    if (percent != std::string::npos) {
        piece.erase(percent);
        starts.erase(percent);
    }
    int bits = 0;
    if (find_at_start(piece, starts, "\\bibliography", 0) != std::string::npos)
        bits |= NEED_BIBLIOGRAPHY;
    if (find_at_start(piece, starts, "\\makeindex", 0) != std::string::npos)
        bits |= NEED_INDEX;
    size_t pdf = find_at_start(piece, starts, "\\pdfoutput", 0);
    if (pdf != std::string::npos && find_at_start(piece, starts, "1", pdf + 10) != std::string::npos)
        bits |= NEED_PDF;
    return bits;
}

static int reference_scan(const uint8_t* data, size_t size)
{
    std::string text;
    for (size_t i = 0; i < size && data[i] != 0x1A; ++i) {
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            continue;
        text.push_back((char)data[i]);
    }
    int bits = 0;
    for (size_t pos = 0; pos < text.size() && bits != SCAN_ALL_FOUND;) {
        size_t end = pos;
        while (end < text.size() && end - pos < TEXT_SIZE - 1) {
            if (text[end++] == '\n')
                break;
        }
        bits |= reference_piece(text.substr(pos, end - pos));
        pos = end;
    }
    return bits;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        ready = true;
    }
    const char* source = fuzz_write_file("fz.tex", data, size);
    FUZZ_CHECK(scan_directives(source) == reference_scan(data, size));
    return 0;
}

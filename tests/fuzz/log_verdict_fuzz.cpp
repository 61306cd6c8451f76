// The log verdict over arbitrary log bytes against a reference: the log as
// text mode reads it, cut into pieces of at most 258 characters that end
// after a newline, each searched for the verdict texts in table order.
#include <string.h>

#include <string>

#include "fuzz_check.h"
#include "fuzz_file.h"
#include "platform.h"
#include "source_name.h"

static plat_code_page_info info;

static const struct {
    int code;
    const char* text;
} REFERENCE_TABLE[] = {
    {2, "? e"},
    {4, "? x"},
    {4, "! Emergency stop."},
    {4, "No pages of output."},
    {1, "LaTeX Warning: Label(s) may have changed."},
};

static bool found_at_character(const std::string& piece, const char* text)
{
    size_t len = strlen(text);
    for (size_t i = 0; i < piece.size(); ++i) {
        if (piece.compare(i, len, text) == 0)
            return true;
        if (info.lead[(unsigned char)piece[i]] && i + 1 < piece.size())
            ++i;
    }
    return false;
}

static int reference_verdict(const uint8_t* data, size_t size)
{
    std::string text;
    for (size_t i = 0; i < size && data[i] != 0x1A; ++i) {
        if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n')
            continue;
        text.push_back((char)data[i]);
    }
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && end - pos < 258) {
            if (text[end++] == '\n')
                break;
        }
        std::string piece = text.substr(pos, end - pos);
        piece.erase(strnlen(piece.c_str(), piece.size()));
        for (const auto& entry : REFERENCE_TABLE)
            if (found_at_character(piece, entry.text))
                return entry.code;
        pos = end;
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = false;
    if (!ready) {
        plat_code_page(&info);
        ready = true;
    }
    // Odd inputs name the source with two dots, so the log is found under
    // the second name (cut at the first dot) after the first is missing.
    bool second_name = size > 0 && (data[0] & 1);
    fuzz_write_file("fz.log", data, size);
    std::string source = std::string(fuzz_scratch_dir()) + (second_name ? "fz.x.tex" : "fz.tex");
    source_name record;
    FUZZ_CHECK(build_source_name(&record, source.c_str()));
    FUZZ_CHECK(log_verdict(&record) == reference_verdict(data, size));
    return 0;
}

#include <gtest/gtest.h>

#include <string>

#include "format_resolution.h"

TEST(RavickFormat, FormatNameFollowsOneOfThreePrefixes)
{
    const struct {
        const char* format_opt;
        const char* name;   // NULL: refused
    } cases[] = {
        {"&latex", "latex"},
        {"-fmt=platex", "platex"},
        {"-FMT=LATEX.FMT", "LATEX.FMT"},
        {"-Fmt=latex.fmt", "latex.fmt"},
        {"-progname=latex", "latex"},
        {"-PROGNAME=latex", "latex"},
        {"&&latex", "&latex"},
        {"latex", NULL},
        {"-fmt", NULL},
        {"-fmtlatex", NULL},
        {"-prog=latex", NULL},
        {"", NULL},
        // A prefix alone names no format.
        {"&", NULL},
        {"-fmt=", NULL},
        {"-progname=", NULL},
    };
    for (const auto& c : cases) {
        const char* name = format_name_of(c.format_opt);
        if (c.name == NULL)
            EXPECT_EQ(name, nullptr) << c.format_opt;
        else
            EXPECT_STREQ(name, c.name) << c.format_opt;
    }
}

TEST(RavickFormat, OversizedInputIsRefusedWithoutTouchingTheEngine)
{
    const std::string long_name(TEXT_SIZE, 'x');
    const struct {
        std::string virtex, format_opt;
        ravick_message message;
    } cases[] = {
        {"c:\\tex\\virtex.exe", "&" + long_name, MSG_INVALID_FORMAT},
        {"c:\\tex\\virtex.exe", "-fmt=" + long_name, MSG_INVALID_FORMAT},
        {"c:\\tex\\" + long_name, "&latex", MSG_NO_MODULE_FILE},
        {"c:\\tex\\virtex.exe", "latex", MSG_INVALID_FORMAT},
    };
    for (const auto& c : cases) {
        char engine_path[TEXT_SIZE];
        const char* pending = NULL;
        EXPECT_EQ(resolve_engine(c.virtex.c_str(), c.format_opt.c_str(),
                                 engine_path, &pending),
                  c.message)
            << c.virtex.size() << " " << c.format_opt.size();
    }
}

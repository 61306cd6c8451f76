#include <string>
#include <vector>

#include "freshness.h"
#include "needapps_codes.h"
#include "scratch_dir.h"
#include "source_name.h"

class Freshness : public ScratchDir {};

struct dated_file {
    const char* name;
    time_t mtime;
};

// The source is always dated 1000; the other files are older or younger.
TEST_F(Freshness, FirstCandidateThatExistsDecides)
{
    const struct {
        const char* what;
        const char* source;
        int scan;
        std::vector<dated_file> files;
        int expected;
    } cases[] = {
        {"output younger", "paper.tex", 0, {{"paper.dvi", 2000}}, 0},
        {"output of the same second", "paper.tex", 0, {{"paper.dvi", 1000}}, 0},
        {"output older", "paper.tex", 0, {{"paper.dvi", 999}}, OUT_OF_DATE},
        {"nothing beside the source", "paper.tex", 7, {}, OUT_OF_DATE},
        {"pdf asked for, only a dvi", "paper.tex", NEED_PDF, {{"paper.dvi", 2000}}, OUT_OF_DATE},
        {"pdf asked for, pdf younger", "paper.tex", NEED_PDF,
         {{"paper.dvi", 500}, {"paper.pdf", 2000}}, 0},
        {"output older, aux younger", "paper.tex", NEED_BIBLIOGRAPHY,
         {{"paper.dvi", 500}, {"paper.aux", 2000}}, OUT_OF_DATE},
        {"no output, aux younger", "paper.tex", NEED_BIBLIOGRAPHY, {{"paper.aux", 2000}}, 0},
        {"aux not looked at without bibliography", "paper.tex", NEED_INDEX,
         {{"paper.aux", 2000}}, OUT_OF_DATE},
        {"no output, idx younger", "paper.tex", NEED_INDEX, {{"paper.idx", 2000}}, 0},
        {"aux comes before idx", "paper.tex", NEED_BIBLIOGRAPHY | NEED_INDEX,
         {{"paper.aux", 500}, {"paper.idx", 2000}}, OUT_OF_DATE},
        {"second cut when the first finds nothing", "paper.final.tex", 0,
         {{"paper.dvi", 2000}}, 0},
        {"first cut decides before the second", "paper.final.tex", 0,
         {{"paper.final.dvi", 500}, {"paper.dvi", 2000}}, OUT_OF_DATE},
        {"companions of the first cut before the second cut", "paper.final.tex",
         NEED_BIBLIOGRAPHY, {{"paper.final.aux", 2000}, {"paper.dvi", 500}}, 0},
        {"files in a folder", "doc/paper.tex", 0, {{"doc/paper.dvi", 2000}}, 0},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all("doc");
        for (const char* stale : {"paper.tex", "paper.final.tex", "paper.dvi", "paper.pdf",
                                  "paper.aux", "paper.idx", "paper.final.dvi",
                                  "paper.final.aux"})
            std::filesystem::remove(stale);
        write_file(c.source, "");
        set_mtime(c.source, 1000);
        for (const dated_file& f : c.files) {
            write_file(f.name, "");
            set_mtime(f.name, f.mtime);
        }
        source_name record;
        ASSERT_TRUE(build_source_name(&record, c.source)) << c.what;
        EXPECT_EQ(check_freshness(&record, c.scan), c.expected) << c.what;
    }
}

TEST_F(Freshness, SourceWithoutTimeStampIsReportedInAMessageBox)
{
    source_name record;
    ASSERT_TRUE(build_source_name(&record, "gone.tex"));
    write_file("gone.dvi", "");
    testing::internal::CaptureStderr();
    EXPECT_EQ(check_freshness(&record, NEED_PDF), NEEDAPPS_FAILED);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to get time stamp.\n");
}

// A candidate too long for a path text counts as missing; it is never cut
// short into the name of another file.
TEST_F(Freshness, CandidateTooLongForAPathCountsAsMissing)
{
    const std::string folder = std::string(100, 'd') + "/" + std::string(100, 'e') + "/";
    const struct {
        const char* what;
        std::string base;   // 57 characters: the source name has 259
        int expected;
    } cases[] = {
        {"single dot", "a" + std::string(54, 'f') + ".x", OUT_OF_DATE},
        {"the first cut still fits", "a." + std::string(53, 'f') + ".x", 0},
    };
    for (const auto& c : cases) {
        const std::string source = folder + c.base;
        ASSERT_EQ(source.size(), 259u);
        write_file(source, "");
        set_mtime(source, 1000);
        // What the last cut with ".dvi" would give if cut to 259 characters.
        const std::string shortened = source.substr(0, 257) + ".dv";
        write_file(shortened, "");
        set_mtime(shortened, 2000);
        write_file(folder + "a.dvi", "");
        set_mtime(folder + "a.dvi", 2000);
        source_name record;
        ASSERT_TRUE(build_source_name(&record, source.c_str())) << c.what;
        EXPECT_EQ(check_freshness(&record, 0), c.expected) << c.what;
        std::filesystem::remove(source);
        std::filesystem::remove(shortened);
    }
}

// A fresh, empty directory that a test works in as its current directory,
// so that the files it makes are named by plain relative names; removed
// with everything in it afterwards.
#ifndef QUILLBAY_TEST_SCRATCH_DIR_H
#define QUILLBAY_TEST_SCRATCH_DIR_H

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <filesystem>
#include <fstream>
#include <string>

// Writes bytes exactly as given (no newline conversion).
inline void write_file(const std::string& name, const std::string& bytes)
{
    std::filesystem::path path(name);
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    ASSERT_TRUE(out.good()) << name;
}

// Sets both the access and the modification time.
inline void set_mtime(const std::string& name, time_t seconds)
{
    struct utimbuf times = {seconds, seconds};
    ASSERT_EQ(utime(name.c_str(), &times), 0) << name;
}

class ScratchDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/needapps_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(getcwd(old_cwd_, sizeof old_cwd_), old_cwd_);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override
    {
        EXPECT_EQ(chdir(old_cwd_), 0);
        std::error_code ignored;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(dir_, ignored);
    }

    std::string dir_;

private:
    char old_cwd_[4096];
};

#endif

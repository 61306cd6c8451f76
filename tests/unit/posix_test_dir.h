// A temporary directory for the posix backend's tests: created fresh, made
// the current directory, removed with everything in it afterwards.
#ifndef QUILLBAY_POSIX_TEST_DIR_H
#define QUILLBAY_POSIX_TEST_DIR_H
#ifndef _WIN32

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

class PosixTempDir : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qbtestXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        ASSERT_NE(getcwd(saved_cwd_, sizeof saved_cwd_), nullptr);
        ASSERT_EQ(chdir(root_.c_str()), 0);
    }
    void TearDown() override
    {
        ASSERT_EQ(chdir(saved_cwd_), 0);
        std::string command = "rm -rf '" + root_ + "'";
        ASSERT_EQ(system(command.c_str()), 0);
    }
    // The native path of a name below the directory.
    std::string native(const std::string& relative) const { return root_ + "/" + relative; }
    // The same as the Windows program sees it: Z:\tmp\qbtest...\relative.
    std::string windows(const std::string& relative = "") const
    {
        std::string path = "Z:" + root_ + (relative.empty() ? "" : "/" + relative);
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    }
    void make_dir(const std::string& relative) const
    {
        ASSERT_EQ(mkdir(native(relative).c_str(), 0755), 0) << relative;
    }
    void make_file(const std::string& relative, const std::string& content = "",
                   int mode = 0644) const
    {
        FILE* f = fopen(native(relative).c_str(), "wb");
        ASSERT_NE(f, nullptr) << relative;
        fwrite(content.data(), 1, content.size(), f);
        fclose(f);
        chmod(native(relative).c_str(), mode);
    }

    std::string root_;
    char saved_cwd_[4096];
};

#endif
#endif

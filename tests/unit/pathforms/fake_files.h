// A file system and INI service in memory for the pathforms tests, linked in
// place of the backend's file naming and INI functions. Directory entries
// are found without regard to ASCII case, as on Windows; the current
// directory is c:\. A name starting with two backslashes is
// kept as it is, like a network path.
#ifndef QUILLBAY_TEST_FAKE_FILES_H
#define QUILLBAY_TEST_FAKE_FILES_H

#include <string>
#include <vector>

struct ini_write {
    std::string file, section, key, value;
};

namespace fake_files {

// Forgets every entry and write; the own path becomes c:\tools\pathforms.exe.
void reset();
// An entry found under path. Its stored name is the path's last component
// unless stored_name is given (an entry looked up by its short name).
void add_directory(const std::string& path, const std::string& short_name = "",
                   const std::string& stored_name = "");
void add_file(const std::string& path, const std::string& short_name = "");
// Empty: the own path cannot be obtained.
void set_module_path(const std::string& path);
const std::vector<ini_write>& writes();

}  // namespace fake_files

#endif

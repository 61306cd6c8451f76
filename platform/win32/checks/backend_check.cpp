// Checks of the win32 backend against the buffer and error contract of
// platform.h, run under Wine (GoogleTest is not built for mingw). Every case
// works in its own scratch key and directory and removes them again.
// Usage: backend_check <scratch dir>   (exit 0 when every check passed)
//        backend_check message <text>  (calls plat_message_box)
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/utime.h>
#include <windows.h>

#include "platform.h"

static int failures = 0;

#define CHECK(cond) check_line((cond), #cond, __LINE__, "")
#define CHECK_ROW(cond, row) check_line((cond), #cond, __LINE__, (row))

static void check_line(bool ok, const char* text, int line, const char* row)
{
    if (ok)
        return;
    ++failures;
    fprintf(stderr, "backend_check.cpp:%d: %s%s%s failed\n", line, row, *row ? ": " : "", text);
}

static void skip(const char* what, unsigned code_page)
{
    printf("SKIPPED %s (code page %u)\n", what, code_page);
}

static const unsigned char SENTINEL = 0xbd;

// Whether the bytes from `from` up to `size` still hold the sentinel.
static bool untouched(const char* buffer, size_t from, size_t size)
{
    for (size_t i = from; i < size; ++i)
        if ((unsigned char)buffer[i] != SENTINEL)
            return false;
    return true;
}

static void write_file(const char* path, const char* bytes, size_t size)
{
    FILE* f = fopen(path, "wb");
    fwrite(bytes, 1, size, f);
    fclose(f);
}

// ---------------------------------------------------------------- registry

static const char SCRATCH_KEY[] = "Software\\QuillbayBackendCheck";

static void check_registry()
{
    plat_key key = (plat_key)1;
    CHECK(plat_reg_open(PLAT_HKCU, "Software\\QuillbayBackendCheck\\missing", &key) == PLAT_NOT_FOUND);
    CHECK(key == NULL);

    plat_key sub = NULL;
    CHECK(plat_reg_create(PLAT_HKCU, "Software\\QuillbayBackendCheck\\a\\b", &sub) == PLAT_OK);
    plat_reg_close(sub);
    CHECK(plat_reg_open(PLAT_HKCU, SCRATCH_KEY, &key) == PLAT_OK);

    const uint32_t number = 0x01020304;
    CHECK(plat_reg_set_value(key, "text", PLAT_REG_SZ, "hello", 6) == PLAT_OK);
    CHECK(plat_reg_set_value(key, "number", PLAT_REG_DWORD, &number, 4) == PLAT_OK);
    CHECK(plat_reg_set_value(key, "", PLAT_REG_SZ, "default", 8) == PLAT_OK);

    // Capacity: bigger, exact, one short.
    const struct {
        const char* row;
        uint32_t capacity;
        int status;
    } sizes[] = {{"bigger", 16, PLAT_OK}, {"exact", 6, PLAT_OK}, {"one short", 5, PLAT_MORE_DATA}};
    for (const auto& c : sizes) {
        char data[16];
        memset(data, SENTINEL, sizeof data);
        uint32_t type = 99, size = c.capacity;
        CHECK_ROW(plat_reg_query_value(key, "text", &type, data, &size) == c.status, c.row);
        CHECK_ROW(size == 6, c.row);
        CHECK_ROW(type == PLAT_REG_SZ, c.row);
        if (c.status == PLAT_OK)
            CHECK_ROW(strcmp(data, "hello") == 0, c.row);
        CHECK_ROW(untouched(data, c.capacity, sizeof data), c.row);
    }

    // NULL and empty name both reach the unnamed value.
    const char* default_names[] = {NULL, ""};
    for (const char* name : default_names) {
        char data[16] = "";
        uint32_t size = sizeof data;
        CHECK(plat_reg_query_value(key, name, NULL, data, &size) == PLAT_OK && strcmp(data, "default") == 0);
    }
    uint32_t size = 0;
    CHECK(plat_reg_query_value(key, "absent", NULL, NULL, &size) == PLAT_NOT_FOUND);

    uint32_t subkeys = 9, values = 9, max_name = 0, max_data = 0;
    CHECK(plat_reg_query_info(key, &subkeys, NULL, &values, &max_name, &max_data) == PLAT_OK);
    // The longest data is reported as stored, which for text may be its
    // UTF-16 size: at least the 8 bytes of "default".
    CHECK(subkeys == 1 && values == 3 && max_name == 6 && max_data >= 8);

    // Enumeration returns each value once, then NO_MORE_ITEMS; a name buffer
    // one short reports MORE_DATA.
    int seen = 0;
    for (uint32_t index = 0;; ++index) {
        char name[32];
        uint32_t name_len = sizeof name;
        int status = plat_reg_enum_value(key, index, name, &name_len, NULL, NULL, NULL);
        if (status == PLAT_NO_MORE_ITEMS)
            break;
        CHECK(status == PLAT_OK && name_len == strlen(name));
        if (++seen > 3)
            break;
    }
    CHECK(seen == 3);
    {
        char name[32];
        uint32_t name_len = sizeof name;
        CHECK(plat_reg_enum_key(key, 0, name, &name_len) == PLAT_OK && strcmp(name, "a") == 0 && name_len == 1);
        name_len = 1;
        CHECK(plat_reg_enum_key(key, 0, name, &name_len) == PLAT_MORE_DATA);
        name_len = sizeof name;
        CHECK(plat_reg_enum_key(key, 1, name, &name_len) == PLAT_NO_MORE_ITEMS);
    }

    CHECK(plat_reg_delete_value(key, "text") == PLAT_OK);
    CHECK(plat_reg_delete_value(key, "text") == PLAT_NOT_FOUND);
    plat_reg_close(key);

    // A key with sub-keys stays; deleting from the bottom up works.
    CHECK(plat_reg_delete_key(PLAT_HKCU, "Software\\QuillbayBackendCheck\\a") != PLAT_OK);
    CHECK(plat_reg_delete_key(PLAT_HKCU, "Software\\QuillbayBackendCheck\\a\\b") == PLAT_OK);
    CHECK(plat_reg_delete_key(PLAT_HKCU, "Software\\QuillbayBackendCheck\\a") == PLAT_OK);
    CHECK(plat_reg_delete_key(PLAT_HKCU, SCRATCH_KEY) == PLAT_OK);
    CHECK(plat_reg_open(PLAT_HKCU, SCRATCH_KEY, &key) == PLAT_NOT_FOUND);
}

// ---------------------------------------------------------------- INI

static void check_ini(const char* dir)
{
    char file[MAX_PATH];
    snprintf(file, sizeof file, "%s\\check.ini", dir);
    CHECK(plat_ini_write(file, "Sec", "one", "1") == PLAT_OK);
    CHECK(plat_ini_write(file, "Sec", "two", "22") == PLAT_OK);

    char list[64];
    memset(list, SENTINEL, sizeof list);
    CHECK(plat_ini_read_section(file, "Sec", list, sizeof list) == 13);
    CHECK(memcmp(list, "one=1\0two=22\0\0", 14) == 0);

    // Too small: size - 2, still a terminated list, nothing past size.
    memset(list, SENTINEL, sizeof list);
    CHECK(plat_ini_read_section(file, "Sec", list, 8) == 6);
    CHECK(list[6] == '\0' && list[7] == '\0' && untouched(list, 8, sizeof list));

    const struct {
        const char* row;
        const char* file;
        const char* section;
    } empty[] = {{"missing section", file, "None"}, {"missing file", "Z:\\no\\such\\dir\\x.ini", "Sec"}};
    for (const auto& c : empty) {
        memset(list, SENTINEL, sizeof list);
        CHECK_ROW(plat_ini_read_section(c.file, c.section, list, sizeof list) == 0, c.row);
        CHECK_ROW(list[0] == '\0' && list[1] == '\0', c.row);
    }
    DeleteFileA(file);

    // A bare file name lives in the Windows directory.
    char in_windows[MAX_PATH];
    GetWindowsDirectoryA(in_windows, sizeof in_windows);
    strncat(in_windows, "\\qbcheck.ini", sizeof in_windows - strlen(in_windows) - 1);
    CHECK(plat_ini_write("qbcheck.ini", "Sec", "k", "v") == PLAT_OK);
    CHECK(GetFileAttributesA(in_windows) != INVALID_FILE_ATTRIBUTES);
    CHECK(plat_ini_read_section("qbcheck.ini", "Sec", list, sizeof list) == 4 && strcmp(list, "k=v") == 0);
    DeleteFileA(in_windows);
}

// ---------------------------------------------------------------- files

static void check_full_path(const char* dir)
{
    char expected[MAX_PATH];
    snprintf(expected, sizeof expected, "%s\\name.tex", dir);
    size_t length = strlen(expected);
    char relative[MAX_PATH];
    snprintf(relative, sizeof relative, "%s\\sub\\..\\name.tex", dir);

    const struct {
        const char* row;
        size_t size;
        int status;
    } sizes[] = {{"bigger", length + 5, PLAT_OK}, {"exact", length + 1, PLAT_OK},
                 {"one short", length, PLAT_MORE_DATA}};
    for (const auto& c : sizes) {
        char out[MAX_PATH + 8];
        memset(out, SENTINEL, sizeof out);
        size_t last = 0;
        CHECK_ROW(plat_full_path(relative, out, c.size, &last) == c.status, c.row);
        if (c.status == PLAT_OK) {
            CHECK_ROW(strcmp(out, expected) == 0, c.row);
            CHECK_ROW(last == length - strlen("name.tex"), c.row);
        } else {
            CHECK_ROW(out[0] == '\0' && last == (size_t)-1, c.row);
        }
        CHECK_ROW(untouched(out, c.size, sizeof out), c.row);
    }

    char with_slash[MAX_PATH];
    snprintf(with_slash, sizeof with_slash, "%s\\", dir);
    char out[MAX_PATH];
    size_t last = 0;
    CHECK(plat_full_path(with_slash, out, sizeof out, &last) == PLAT_OK && last == (size_t)-1);
}

static void check_entries(const char* dir)
{
    char file[MAX_PATH];
    snprintf(file, sizeof file, "%s\\Long File Name.Text", dir);
    write_file(file, "x", 1);

    plat_find_data found;
    CHECK(plat_find_entry(file, &found) == PLAT_OK);
    CHECK(strcmp(found.name, "Long File Name.Text") == 0);
    CHECK((found.attributes & PLAT_ATTR_DIRECTORY) == 0);
    CHECK(found.short_name[0] != '\0' && strchr(found.short_name, ' ') == NULL);

    CHECK(plat_find_entry(dir, &found) == PLAT_OK && (found.attributes & PLAT_ATTR_DIRECTORY));

    memset(&found, SENTINEL, sizeof found);
    char missing[MAX_PATH];
    snprintf(missing, sizeof missing, "%s\\missing.tex", dir);
    CHECK(plat_find_entry(missing, &found) == PLAT_NOT_FOUND);
    CHECK(found.name[0] == '\0' && found.attributes == 0);

    // Time stamps read back as set, also past 2038 (the 32-bit build).
    const int64_t times[] = {1000000000, 4102444800LL};
    for (int64_t when : times) {
        struct __utimbuf64 stamp = {when, when};
        _utime64(file, &stamp);
        int64_t seconds = 0;
        CHECK(plat_file_time(file, &seconds) == PLAT_OK && seconds == when);
    }
    int64_t seconds = 7;
    CHECK(plat_file_time(missing, &seconds) == PLAT_NOT_FOUND && seconds == 0);
    DeleteFileA(file);
}

static void check_search_and_dirs(const char* dir)
{
    char tool[MAX_PATH];
    snprintf(tool, sizeof tool, "%s\\tool.exe", dir);
    write_file(tool, "MZ", 2);

    char out[MAX_PATH];
    size_t part = 0;
    CHECK(plat_search_path(dir, "tool", ".exe", out, sizeof out, &part) == PLAT_OK);
    CHECK(strcmp(out, tool) == 0 && strcmp(out + part, "tool.exe") == 0);
    memset(out, SENTINEL, sizeof out);
    CHECK(plat_search_path(dir, "tool", ".exe", out, strlen(tool), &part) == PLAT_MORE_DATA);
    CHECK(out[0] == '\0' && untouched(out, strlen(tool), sizeof out));
    CHECK(plat_search_path(dir, "nothing", ".exe", out, sizeof out, &part) == PLAT_NOT_FOUND && out[0] == '\0');
    DeleteFileA(tool);

    char old_dir[MAX_PATH];
    CHECK(plat_current_dir(old_dir, sizeof old_dir) == PLAT_OK);
    CHECK(plat_set_current_dir(dir) == PLAT_OK);
    CHECK(plat_current_dir(out, sizeof out) == PLAT_OK && strcmp(out, dir) == 0);
    memset(out, SENTINEL, sizeof out);
    CHECK(plat_current_dir(out, strlen(dir)) == PLAT_MORE_DATA && out[0] == '\0');
    CHECK(untouched(out, strlen(dir), sizeof out));
    CHECK(plat_set_current_dir("Z:\\no\\such\\dir") == PLAT_NOT_FOUND);
    CHECK(plat_set_current_dir(old_dir) == PLAT_OK);

    CHECK(plat_module_path(out, sizeof out) == PLAT_OK);
    size_t length = strlen(out);
    CHECK(length > 4 && _stricmp(out + length - 4, ".exe") == 0);
    CHECK(plat_module_path(out, length + 1) == PLAT_OK);
    memset(out, SENTINEL, sizeof out);
    CHECK(plat_module_path(out, length) == PLAT_MORE_DATA && out[0] == '\0');
}

static void check_text_file(const char* dir)
{
    char file[MAX_PATH];
    snprintf(file, sizeof file, "%s\\log.txt", dir);
    const char bytes[] = "one\r\ntwo\r\nlong line\r\nlast\x1ahidden\r\n";
    write_file(file, bytes, sizeof bytes - 1);

    // CR LF reads as LF, a long line comes in pieces, Ctrl-Z ends the file.
    const struct {
        int size;
        const char* text;
    } reads[] = {{16, "one\n"}, {16, "two\n"}, {5, "long"}, {16, " line\n"}, {16, "last"}};
    plat_text_file text = NULL;
    CHECK(plat_text_open(file, &text) == PLAT_OK);
    for (const auto& r : reads) {
        char line[16];
        CHECK_ROW(plat_text_gets(text, line, r.size) == 1 && strcmp(line, r.text) == 0, r.text);
    }
    char line[16] = "stale";
    CHECK(plat_text_gets(text, line, sizeof line) == 0 && line[0] == '\0');
    plat_text_close(text);
    DeleteFileA(file);

    text = (plat_text_file)1;
    CHECK(plat_text_open(file, &text) == PLAT_NOT_FOUND && text == NULL);
}

// ---------------------------------------------------------------- processes

static void check_processes(const char* dir)
{
    CHECK(plat_env_put("QB_CHECK_VAR=yes") == PLAT_OK);
    CHECK(plat_env_present("QB_CHECK_VAR") && plat_env_present("qb_check_var"));
    CHECK(!plat_env_present("QB_CHECK_UNSET"));

    // A batch file named without extension is found in the current
    // directory and sees the variable set above.
    char old_dir[MAX_PATH];
    plat_current_dir(old_dir, sizeof old_dir);
    plat_set_current_dir(dir);
    const char script[] = "@echo %QB_CHECK_VAR% %1 %2> child.out\r\n";
    write_file("child.bat", script, sizeof script - 1);
    const char* child_args[] = {"child", "a", "b", NULL};
    CHECK(plat_spawn_wait("child", child_args) == PLAT_OK);
    char out[32] = "";
    FILE* f = fopen("child.out", "rt");
    CHECK(f != NULL && fgets(out, sizeof out, f) != NULL);
    if (f)
        fclose(f);
    CHECK(strncmp(out, "yes a b", 7) == 0);
    DeleteFileA("child.bat");
    DeleteFileA("child.out");
    plat_set_current_dir(old_dir);

    // A child's own exit code, even -1, is no failure to start it.
    const char* exit_args[] = {"cmd", "/c", "exit", "-1", NULL};
    CHECK(plat_spawn_wait("cmd", exit_args) == PLAT_OK);
    const char* missing_args[] = {"qb_no_such_program", NULL};
    CHECK(plat_spawn_wait("qb_no_such_program", missing_args) == PLAT_NOT_FOUND);
}

// ---------------------------------------------------------------- code page

static void check_code_page()
{
    plat_code_page_info info;
    CHECK(plat_code_page(&info) == PLAT_OK);
    CHECK(info.code_page == GetACP());
    CHECK(info.lower['A'] == 'a' && info.lower['z'] == 'z' && info.lower['['] == '[' && info.lower[0] == 0);

    if (info.code_page == 1252) {
        const struct {
            unsigned char upper, lower;
        } pairs[] = {{0xC0, 0xE0}, {0xDE, 0xFE}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E},
                     {0x9F, 0xFF}, {0xD7, 0xD7}, {0xDF, 0xDF}, {0xE0, 0xE0}, {0x81, 0x81}};
        for (const auto& p : pairs) {
            char row[16];
            snprintf(row, sizeof row, "byte %02X", p.upper);
            CHECK_ROW(info.lower[p.upper] == p.lower, row);
        }
        for (int c = 0; c < 256; ++c)
            CHECK(info.lead[c] == 0);
        unsigned char pair[2] = {0x82, 0x60};
        CHECK(plat_lower_double_byte(pair) == PLAT_FAILED && pair[0] == 0x82 && pair[1] == 0x60);
    } else {
        skip("code page 1252 tables", info.code_page);
    }

    if (info.code_page == 932) {
        const struct {
            unsigned char byte, lead;
        } leads[] = {{0x80, 0}, {0x81, 1}, {0x9F, 1}, {0xA0, 0}, {0xB1, 0}, {0xDF, 0}, {0xE0, 1}, {0xFC, 1}, {0xFD, 0}};
        for (const auto& l : leads) {
            char row[16];
            snprintf(row, sizeof row, "byte %02X", l.byte);
            CHECK_ROW(info.lead[l.byte] == l.lead, row);
        }
        CHECK(info.lower[0xB1] == 0xB1);
        const struct {
            const char* row;
            unsigned char in[2], out[2];
            int status;
        } pairs[] = {
            {"full-width A", {0x82, 0x60}, {0x82, 0x81}, PLAT_OK},
            {"full-width Z", {0x82, 0x79}, {0x82, 0x9A}, PLAT_OK},
            {"full-width a", {0x82, 0x81}, {0x82, 0x81}, PLAT_OK},
            {"Greek Alpha", {0x83, 0x9F}, {0x83, 0xBF}, PLAT_OK},
            {"Cyrillic A", {0x84, 0x40}, {0x84, 0x70}, PLAT_OK},
            {"Cyrillic O past gap", {0x84, 0x4F}, {0x84, 0x80}, PLAT_OK},
            {"kanji", {0x93, 0xFA}, {0x93, 0xFA}, PLAT_OK},
            {"bad trail", {0x81, 0x20}, {0x81, 0x20}, PLAT_FAILED},
            {"not a lead", {0x41, 0x42}, {0x41, 0x42}, PLAT_FAILED},
        };
        for (const auto& p : pairs) {
            unsigned char pair[2] = {p.in[0], p.in[1]};
            CHECK_ROW(plat_lower_double_byte(pair) == p.status, p.row);
            CHECK_ROW(pair[0] == p.out[0] && pair[1] == p.out[1], p.row);
        }
    } else {
        skip("code page 932 tables", info.code_page);
    }
}

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "message") == 0) {
        plat_message_box(argv[2]);
        return 0;
    }
    if (argc != 2) {
        fprintf(stderr, "usage: backend_check <scratch dir> | message <text>\n");
        return 2;
    }
    char dir[MAX_PATH];
    if (GetFullPathNameA(argv[1], sizeof dir, dir, NULL) == 0 || !CreateDirectoryA(dir, NULL)) {
        fprintf(stderr, "cannot create the scratch directory %s\n", argv[1]);
        return 2;
    }
    // The run's log shows which code page Wine made active (932 under a
    // Japanese locale).
    printf("active code page %u\n", GetACP());
    check_registry();
    check_ini(dir);
    check_full_path(dir);
    check_entries(dir);
    check_search_and_dirs(dir);
    check_text_file(dir);
    check_processes(dir);
    check_code_page();
    RemoveDirectoryA(dir);
    printf("%s\n", failures == 0 ? "all checks passed" : "checks FAILED");
    return failures == 0 ? 0 : 1;
}

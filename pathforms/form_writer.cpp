// Writing the keys of section Result. The outcome of each INI write is not
// checked: a result file that cannot be written leaves the macro with the
// exit code alone.
#include "form_writer.h"

#include "pathforms_codes.h"
#include "platform.h"

static const char RESULT_SECTION[] = "Result";
static const char RETURN_CODE_KEY[] = "returncode";

enum form_part { PART_FILENAME, PART_BASENAME, PART_DIRECTORY, PART_COUNT };
static const char* const PART_STEMS[PART_COUNT] = {"filename", "basename", "directory"};

enum { KEY_NAME_SIZE = 16 };

static void write_part(const char* result_file, form_part part, char suffix, const char* value)
{
    const char tail[2] = {suffix, '\0'};
    char key[KEY_NAME_SIZE];
    if (mb_copy(key, sizeof key, PART_STEMS[part]) && mb_append(key, sizeof key, tail))
        plat_ini_write(result_file, RESULT_SECTION, key, value);
}

void write_path_form(const char* result_file, const path_form* form)
{
    write_part(result_file, PART_FILENAME, form->suffix, form->text);
    write_part(result_file, PART_BASENAME, form->suffix, form->text + form->last_separator + 1);

    // The root of a drive keeps its backslash: "c:\", not "c:".
    size_t cut = form->last_separator == 2 ? 3 : form->last_separator;
    char directory[TEXT_SIZE];
    if (mb_copy_n(directory, sizeof directory, form->text, cut))
        write_part(result_file, PART_DIRECTORY, form->suffix, directory);
}

int write_path_forms(const char* result_file, const char* file_argument)
{
    int code = PATHFORMS_OK;
    for (int index = 0; index < FORM_COUNT; ++index) {
        path_form form;
        if (build_path_form(&form, index, file_argument))
            write_path_form(result_file, &form);
        else
            code += PATHFORMS_FORM_FAILED << index;
    }
    char decimal[12];
    mb_decimal(code, decimal);
    plat_ini_write(result_file, RESULT_SECTION, RETURN_CODE_KEY, decimal);
    return code;
}

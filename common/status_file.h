// The macro directory locator and the writers of the status file
// dyndata.ini, where the tools leave their results for the editor macros.
#ifndef QUILLBAY_STATUS_FILE_H
#define QUILLBAY_STATUS_FILE_H

#include "mbtext.h"

// Registry location of the macro directory, below HKEY_CURRENT_USER.
extern const char MACRO_CONFIG_KEY[];   // Software\Corve_Macro\Quillbay\MacroConfig
extern const char MACRO_DIR_VALUE[];    // MacroDir
extern const char STATUS_FILE_TAIL[];   // \dyndata.ini

// Section and key names of the status file.
extern const char SECTION_MODULE_CMD[];        // ModuleCmd
extern const char SECTION_ERROR_HOOK[];        // Error_Hook
extern const char SECTION_PROJECT_INFO[];      // CurrentProjectInfo
extern const char KEY_RETURN_VIRTEX[];         // return_virtex
extern const char KEY_REQUIRE_APPS[];          // require_apps
extern const char KEY_ERROR_FILE_NAME[];       // Error_FileName
extern const char KEY_ERROR_LINE[];            // Error_Line
extern const char KEY_EXEC_FLAG[];             // Exec_Flag
extern const char KEY_SHORT_NAME[];            // ShortName
extern const char KEY_SHORT_NAME_OLD[];        // ShortName_Old

// Reads MacroDir (at most TEXT_SIZE bytes) into path and appends
// "\dyndata.ini". Returns false when the key cannot be opened with all
// access rights, the value is missing or too large, or the status file path
// would not fit in TEXT_SIZE characters.
bool locate_status_file(char path[TEXT_SIZE]);

// Writes one key of the status file found at status_path; the outcome of the
// write is not examined.
void write_status_text(const char* status_path, const char* section,
                       const char* key, const char* value);
void write_status_number(const char* status_path, const char* section,
                         const char* key, int value);

// Records result as return_virtex in section ModuleCmd, when the status file
// can be located, and returns result unchanged for use as the exit code.
int write_result(int result);

#endif

// needapps: learns from a TeX source which auxiliary runs its project needs
// and whether the typeset output is out of date, and records the answer as
// require_apps, together with the project's short names, for the editor
// macros. The exit code is require_apps, or 16 when there was no source.
#include "directive_scan.h"
#include "freshness.h"
#include "needapps_codes.h"
#include "platform.h"
#include "project_info.h"
#include "source_name.h"
#include "status_file.h"

int main(int argc, char** argv)
{
    if (plat_start(&argc, &argv) != PLAT_OK)
        return NEEDAPPS_FAILED;
    // Without a macro directory the run goes on and only writes nothing.
    char status_path[TEXT_SIZE];
    const bool have_status = locate_status_file(status_path);
    if (argc < 2)
        return NEEDAPPS_FAILED;
    source_name record;
    if (!build_source_name(&record, argv[1]))
        return NEEDAPPS_FAILED;
    if (have_status)
        write_short_names(status_path, &record);
    const int scan_result = scan_directives(record.name);
    if (scan_result == NEEDAPPS_FAILED)
        return NEEDAPPS_FAILED;
    const int require_apps = scan_result | check_freshness(&record, scan_result);
    if (have_status)
        write_status_number(status_path, SECTION_MODULE_CMD, KEY_REQUIRE_APPS, require_apps);
    return require_apps;
}

// logverdict: records the verdict of an existing TeX log as return_virtex,
// without running the engine. Shows nothing; the exit code is the verdict.
#include "platform.h"
#include "source_name.h"
#include "status_file.h"

int main(int argc, char** argv)
{
    if (plat_start(&argc, &argv) != PLAT_OK || argc < 2)
        return write_result(VERDICT_NO_LOG);
    source_name record;
    int result = VERDICT_NO_LOG;
    if (build_source_name(&record, argv[1]))
        result = log_verdict(&record);
    return write_result(result);
}

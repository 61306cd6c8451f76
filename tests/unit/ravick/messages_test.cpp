#include <gtest/gtest.h>
#include <string.h>

#include "messages.h"
#include "platform.h"

TEST(RavickMessages, StartFailuresMapToTheirMessages)
{
    const struct {
        int status;
        const char* text;
    } cases[] = {
        {PLAT_NOT_FOUND, "No such a executable file."},
        {PLAT_TOO_LONG, "Too long argument strings."},
        {PLAT_NO_MEMORY, "No memory."},
        {PLAT_ACCESS_DENIED, "Unknown Error."},
        {PLAT_FAILED, "Unknown Error."},
        {PLAT_BAD_NAME, "Unknown Error."},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(message_text(spawn_failure_message(c.status)), c.text)
            << "status " << c.status;
}

TEST(RavickMessages, HelpTextHasSeventeenLines)
{
    int lines = 0;
    for (const char* p = HELP_TEXT; *p != '\0'; ++p)
        lines += *p == '\n';
    EXPECT_EQ(lines, 17);
    EXPECT_EQ(HELP_TEXT[strlen(HELP_TEXT) - 1], '\n');
}

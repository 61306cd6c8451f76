// Text files read as the C run-time's text mode reads them: CR LF becomes
// LF, a lone CR stays, a Ctrl-Z ends the file. Each block read from the file
// is translated once, in place, so that fgets only has to look for LF.
#ifndef _WIN32
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform.h"
#include "posix_errno.h"
#include "posix_paths.h"

enum { BLOCK_SIZE = 64 * 1024 };

struct plat_text_file_s {
    int fd;
    size_t pos;            // next byte to hand out
    size_t len;            // translated bytes in data
    bool carry_cr;         // a CR held back from the end of the last block
    bool at_end;           // end of file, Ctrl-Z or read error seen
    char data[BLOCK_SIZE + 1];
};

namespace {

// Reads the next block and translates it. False when nothing is left.
bool refill(plat_text_file file)
{
    file->pos = 0;
    file->len = 0;
    if (file->at_end) {
        if (file->carry_cr) {   // a CR at the very end stays a CR
            file->carry_cr = false;
            file->data[0] = '\r';
            file->len = 1;
            return true;
        }
        return false;
    }
    size_t have = 0;
    if (file->carry_cr) {
        file->data[0] = '\r';
        have = 1;
        file->carry_cr = false;
    }
    ssize_t n;
    do {
        n = read(file->fd, file->data + have, BLOCK_SIZE);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        file->at_end = true;
        n = 0;
    }
    size_t len = have + (size_t)n;

    char* stop = (char*)memchr(file->data, 0x1A, len);
    if (stop != NULL) {
        len = (size_t)(stop - file->data);
        file->at_end = true;
    }
    // A CR at the end of the block may be the first half of CR LF: keep it
    // for the next block, which decides.
    if (len > 0 && file->data[len - 1] == '\r' && !file->at_end) {
        file->carry_cr = true;
        --len;
    }
    // CR LF to LF, in place.
    char* out = (char*)memchr(file->data, '\r', len);
    if (out != NULL) {
        const char* in = out;
        const char* end = file->data + len;
        while (in < end) {
            const char* cr = (const char*)memchr(in, '\r', (size_t)(end - in));
            size_t run = (cr != NULL ? cr : end) - in;
            memmove(out, in, run);
            out += run;
            in += run;
            if (cr == NULL)
                break;
            if (in + 1 < end && in[1] == '\n') {
                *out++ = '\n';
                in += 2;
            } else {
                *out++ = '\r';
                in += 1;
            }
        }
        len = (size_t)(out - file->data);
    }
    file->len = len;
    return len > 0 || refill(file);   // a block of only a held-back CR
}

}  // namespace

int plat_text_open(const char* path, plat_text_file* file)
{
    *file = NULL;
    char native[POSIX_PATH_SIZE];
    int status = posix_native_path(path, native, sizeof native);
    if (status != PLAT_OK)
        return status;
    int fd = open(native, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return posix_status_from_errno(errno);
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        close(fd);
        return PLAT_ACCESS_DENIED;   // as the run-time refuses a directory
    }
    plat_text_file f = (plat_text_file)malloc(sizeof *f);
    if (f == NULL) {
        close(fd);
        return PLAT_NO_MEMORY;
    }
    f->fd = fd;
    f->pos = f->len = 0;
    f->carry_cr = false;
    f->at_end = false;
    *file = f;
    return PLAT_OK;
}

int plat_text_gets(plat_text_file file, char* buffer, int size)
{
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    size_t room = (size_t)size - 1;
    size_t used = 0;
    while (used < room) {
        if (file->pos == file->len && !refill(file))
            break;
        const char* from = file->data + file->pos;
        size_t avail = file->len - file->pos;
        size_t take = avail < room - used ? avail : room - used;
        const char* nl = (const char*)memchr(from, '\n', take);
        if (nl != NULL)
            take = (size_t)(nl - from) + 1;
        memcpy(buffer + used, from, take);
        used += take;
        file->pos += take;
        if (nl != NULL)
            break;
    }
    buffer[used] = '\0';
    return used > 0;
}

void plat_text_close(plat_text_file file)
{
    if (file == NULL)
        return;
    close(file->fd);
    free(file);
}
#endif

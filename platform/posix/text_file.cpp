// Text files read as the C run-time's text mode reads them: CR LF becomes
// LF, a lone CR stays, a Ctrl-Z ends the file. The file comes in large raw
// blocks; fgets serves its piece straight out of the block with one search
// for LF and one copy. CR LF needs no pass of its own: the only CR it drops
// is the one right before an LF, and a piece that ends on a CR looks at the
// next byte. A block never ends on a CR unless the file does, so that next
// byte is always at hand.
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

enum { BLOCK_SIZE = 128 * 1024 };

struct plat_text_file_s {
    int fd;
    size_t pos;            // next raw byte to hand out
    size_t len;            // raw bytes in data, up to any Ctrl-Z
    bool carry_cr;         // a CR held back from the end of the last block
    bool at_end;           // end of file, Ctrl-Z or read error seen
    char data[BLOCK_SIZE + 1];
};

namespace {

// Reads the next raw block. False when nothing is left.
bool refill(plat_text_file file)
{
    file->pos = 0;
    file->len = 0;
    size_t have = 0;
    if (file->carry_cr) {
        file->data[0] = '\r';
        have = 1;
        file->carry_cr = false;
    }
    if (file->at_end) {   // only a held-back CR can be left: it stays a CR
        file->len = have;
        return have > 0;
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
    const char* stop = (const char*)memchr(file->data + have, 0x1A, (size_t)n);
    if (stop != NULL) {
        len = (size_t)(stop - file->data);
        file->at_end = true;
    }
    // A CR at the end of the block may be the first half of CR LF: keep it
    // for the next block, which decides. At the end it is a lone CR.
    if (len > 0 && file->data[len - 1] == '\r' && !file->at_end) {
        file->carry_cr = true;
        --len;
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
    const size_t room = (size_t)size - 1;
    size_t used = 0;
    while (used < room) {
        if (file->pos == file->len && !refill(file))
            break;
        const char* from = file->data + file->pos;
        const size_t avail = file->len - file->pos;
        const size_t take = avail < room - used ? avail : room - used;
        const char* nl = (const char*)memchr(from, '\n', take);
        if (nl != NULL) {
            // The line ends here; a CR right before the LF is dropped. That
            // CR is never in an earlier block or piece: a block does not end
            // on a CR, and a piece that ends on one has already taken its LF.
            size_t keep = (size_t)(nl - from);
            file->pos += keep + 1;
            if (keep > 0 && from[keep - 1] == '\r')
                --keep;
            memcpy(buffer + used, from, keep);
            used += keep;
            buffer[used++] = '\n';
            break;
        }
        memcpy(buffer + used, from, take);
        used += take;
        file->pos += take;
        // A piece cut right after a CR: with its LF, CR LF is one newline
        // that still fits.
        if (buffer[used - 1] == '\r' && file->pos < file->len &&
            file->data[file->pos] == '\n') {
            buffer[used - 1] = '\n';
            ++file->pos;
            break;
        }
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

/* libogg: feed a partial page header, expect "need more data". */
#include <ogg/ogg.h>
#include <stdio.h>
#include <string.h>

int main(void)
{
    ogg_sync_state sync;
    ogg_page page;
    char *buf;
    int rc;

    if (ogg_sync_init(&sync) != 0)
        return 1;
    buf = ogg_sync_buffer(&sync, 64);
    memcpy(buf, "OggS", 4);
    ogg_sync_wrote(&sync, 4);
    rc = ogg_sync_pageout(&sync, &page);
    printf("libogg: pageout on 4 bytes -> %d\n", rc);
    ogg_sync_clear(&sync);
    return rc == 0 ? 0 : 1;
}

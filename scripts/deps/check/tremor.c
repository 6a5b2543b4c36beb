/* Tremor: opening a stream that is not Vorbis must be refused. */
#include <tremor/ivorbisfile.h>
#include <stdio.h>
#include <string.h>

static size_t read_cb(void *ptr, size_t size, size_t nmemb, void *src)
{
    static const char junk[] = "this is not an ogg vorbis stream";
    size_t *pos = src, n = size * nmemb;
    if (*pos >= sizeof junk)
        return 0;
    if (n > sizeof junk - *pos)
        n = sizeof junk - *pos;
    memcpy(ptr, junk + *pos, n);
    *pos += n;
    return size ? n / size : 0;
}

int main(void)
{
    OggVorbis_File vf;
    ov_callbacks cb = { read_cb, NULL, NULL, NULL };
    size_t pos = 0;
    int rc = ov_open_callbacks(&pos, &vf, NULL, 0, cb);
    printf("tremor: ov_open_callbacks on junk -> %d (OV_ENOTVORBIS=%d)\n", rc, OV_ENOTVORBIS);
    return rc < 0 ? 0 : 1;
}

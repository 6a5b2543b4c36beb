/* libmad: decoding a buffer of zeros must fail cleanly (no sync). */
#include <mad.h>
#include <stdio.h>

int main(void)
{
    static unsigned char silence[2048 + MAD_BUFFER_GUARD];
    struct mad_stream stream;
    struct mad_frame frame;
    struct mad_synth synth;
    int rc;

    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);
    mad_stream_buffer(&stream, silence, sizeof silence);
    rc = mad_frame_decode(&frame, &stream);
    printf("libmad %s: decode of zeros -> %d (%s)\n", MAD_VERSION, rc,
           mad_stream_errorstr(&stream));
    mad_synth_finish(&synth);
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
    return rc == -1 ? 0 : 1;
}

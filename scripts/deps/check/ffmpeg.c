/* FFmpeg: the APE/ASF demuxers and the APE/WMA decoders are present, and
   the file protocol is wired up (opening a missing file fails with ENOENT). */
#include <libavformat/avformat.h>
#include <libavcodec/avcodec.h>
#include <libavutil/error.h>
#include <stdio.h>

int main(void)
{
    AVFormatContext *ctx = NULL;
    char err[128];
    int rc, ok;

    ok = av_find_input_format("ape") && av_find_input_format("asf") &&
         avcodec_find_decoder(AV_CODEC_ID_APE) && avcodec_find_decoder(AV_CODEC_ID_WMAV1) &&
         avcodec_find_decoder(AV_CODEC_ID_WMAV2);
    rc = avformat_open_input(&ctx, "no-such-file.ape", NULL, NULL);
    av_strerror(rc, err, sizeof err);
    printf("ffmpeg %s: demuxers+decoders %s; open missing file -> %s\n",
           av_version_info(), ok ? "found" : "MISSING", err);
    return ok && rc == AVERROR(ENOENT) ? 0 : 1;
}

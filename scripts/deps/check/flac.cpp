// libFLAC++: a file decoder on a missing file reports an open error.
#include <FLAC++/decoder.h>
#include <cstdio>

namespace {
class Decoder : public FLAC::Decoder::File {
protected:
    FLAC__StreamDecoderWriteStatus write_callback(const FLAC__Frame *, const FLAC__int32 *const[]) override
    {
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }
    void error_callback(FLAC__StreamDecoderErrorStatus) override {}
};
}

int main()
{
    Decoder dec;
    if (!dec.is_valid())
        return 1;
    FLAC__StreamDecoderInitStatus st = dec.init("no-such-file.flac");
    std::printf("libFLAC++ %s: init on missing file -> %s\n", FLAC__VERSION_STRING,
                FLAC__StreamDecoderInitStatusString[st]);
    return st == FLAC__STREAM_DECODER_INIT_STATUS_ERROR_OPENING_FILE ? 0 : 1;
}

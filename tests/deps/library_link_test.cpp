// The decoder and archive libraries are reachable from this build and behave
// as the decoders expect (the Win32 build links the cross-built copies).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include <FLAC++/decoder.h>
#include <mad.h>
#include <minizip/unzip.h>
#include <ogg/ogg.h>
#include <tremor/ivorbisfile.h>
#include <zlib.h>
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace {

TEST(Libraries, MadReportsAnEmptyBuffer) {
  mad_stream stream;
  mad_frame frame;
  mad_stream_init(&stream);
  mad_frame_init(&frame);
  unsigned char zeros[64] = {};
  mad_stream_buffer(&stream, zeros, sizeof zeros);
  EXPECT_EQ(mad_frame_decode(&frame, &stream), -1);
  mad_frame_finish(&frame);
  mad_stream_finish(&stream);
}

TEST(Libraries, TremorRefusesSomethingThatIsNotVorbis) {
  ogg_sync_state sync;
  EXPECT_EQ(ogg_sync_init(&sync), 0);
  ogg_sync_clear(&sync);

  struct Mem { const char* data; size_t size, pos; } mem{"not an ogg stream at all", 24, 0};
  ov_callbacks cb = {};
  cb.read_func = [](void* p, size_t s, size_t n, void* src) -> size_t {
    auto* m = static_cast<Mem*>(src);
    size_t want = s * n, left = m->size - m->pos, got = want < left ? want : left;
    std::memcpy(p, m->data + m->pos, got);
    m->pos += got;
    return s ? got / s : 0;
  };
  OggVorbis_File vf;
  EXPECT_LT(ov_open_callbacks(&mem, &vf, nullptr, 0, cb), 0);
}

TEST(Libraries, FlacFileDecoderReportsAMissingFile) {
  struct Decoder : FLAC::Decoder::File {
    FLAC__StreamDecoderWriteStatus write_callback(const FLAC__Frame*, const FLAC__int32* const[]) override {
      return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    }
    void error_callback(FLAC__StreamDecoderErrorStatus) override {}
  } decoder;
  EXPECT_EQ(decoder.init("no-such-file.flac"), FLAC__STREAM_DECODER_INIT_STATUS_ERROR_OPENING_FILE);
}

TEST(Libraries, FfmpegHasTheApeAndWmaParts) {
  EXPECT_NE(av_find_input_format("ape"), nullptr);
  EXPECT_NE(av_find_input_format("asf"), nullptr);
  EXPECT_NE(avcodec_find_decoder(AV_CODEC_ID_APE), nullptr);
  EXPECT_NE(avcodec_find_decoder(AV_CODEC_ID_WMAV1), nullptr);
  EXPECT_NE(avcodec_find_decoder(AV_CODEC_ID_WMAV2), nullptr);
}

TEST(Libraries, ZlibRoundTripsAndMinizipRefusesAMissingArchive) {
  const char text[] = "the same words, the same words, the same words";
  std::vector<Bytef> packed(compressBound(sizeof text));
  uLongf packedSize = packed.size();
  ASSERT_EQ(compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(text), sizeof text), Z_OK);
  EXPECT_LT(packedSize, sizeof text);
  char back[sizeof text] = {};
  uLongf backSize = sizeof back;
  ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(back), &backSize, packed.data(), packedSize), Z_OK);
  EXPECT_STREQ(back, text);
  EXPECT_EQ(unzOpen64("no-such-archive.zip"), nullptr);
}

}  // namespace

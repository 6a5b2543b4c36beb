// Names and addresses: audio and playlist extensions, stream addresses.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/utf16.h"
#include "playlist/extensions.h"

namespace qv {
namespace {

TEST(Extensions, AudioExtensionLowersTheExtensionInPlace) {
  struct Case {
    const char16_t* path;
    int audio;
    const char16_t* after;
  };
  const Case cases[] = {
      {u"C:\\a\\song.mp3", 1, u"C:\\a\\song.mp3"},
      {u"C:\\a\\Song.Mp3", 1, u"C:\\a\\Song.mp3"},
      {u"C:\\a\\SONG.FLAC", 1, u"C:\\a\\SONG.flac"},
      {u"C:\\a\\x.ApE", 1, u"C:\\a\\x.ape"},
      {u"C:\\a\\track01.CDA", 1, u"C:\\a\\track01.cda"},
      {u"C:\\a\\notes.TXT", 0, u"C:\\a\\notes.txt"},
      {u"C:\\a\\list.m3u", 0, u"C:\\a\\list.m3u"},
      {u"C:\\a\\x.m", 0, u"C:\\a\\x.m"},   // fewer than 3 characters with the dot
      {u"C:\\a\\noext", 0, u"C:\\a\\noext"},
      {u"C:\\a\\song.mp3x", 0, u"C:\\a\\song.mp3x"},
      {u"C:\\a.b\\SONG", 0, u"C:\\a.b\\song"},  // the last "." is in the folder
  };
  for (const Case& c : cases) {
    std::u16string path = c.path;
    EXPECT_EQ(IsAudioExtension(path.data()), c.audio) << ToUtf8(c.path);
    EXPECT_EQ(path, c.after) << ToUtf8(c.path);
  }
}

TEST(Extensions, BuiltinExtensionsIgnoreCase) {
  struct Case {
    const char16_t* extension;
    int withPlaylists;
    int builtin;
  };
  const Case cases[] = {
      {u"MP3", 0, 1}, {u"Flac", 0, 1}, {u"m3u", 0, 0}, {u"m3u", 1, 1}, {u"PLS", 1, 1},
      {u"wmv", 1, 0}, {u"apl", 0, 0},  {u"", 1, 0},    {u"rmp", 0, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsBuiltinExtension(c.extension, c.withPlaylists), c.builtin)
        << ToUtf8(c.extension) << " " << c.withPlaylists;
}

TEST(Extensions, PlaylistExtensionsTakeThreeCharacters) {
  struct Case {
    const char16_t* path;
    int playlist;
    char kind;
  };
  const Case cases[] = {
      {u"a.m3u", 1, 'm'},  {u"a.M3U", 1, 'm'}, {u"a.m3u8", 1, 'm'}, {u"a.PLS", 1, 'p'},
      {u"a.plsx", 1, 'p'}, {u"a.txt", 0, 0},   {u"a.m3", 0, 0},     {u"m3u", 0, 0},
      {u"dir.m3u\\file", 1, 'm'},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsPlaylistExtension(c.path), c.playlist) << ToUtf8(c.path);
    EXPECT_EQ(PlaylistKindOf(c.path), c.kind) << ToUtf8(c.path);
  }
}

TEST(Extensions, StreamAddressesAreCaseSensitive) {
  struct Case {
    const char16_t* text;
    int stream;
  };
  const Case cases[] = {
      {u"http://radio.example/live", 1}, {u"mms://media/stream", 1}, {u"rtsp://x/y", 1},
      {u"HTTP://radio.example/", 0},     {u"https://x/", 0},          {u"http:/x", 0},
      {u"C:\\http://x", 0},              {u"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(IsStreamUrl(c.text), c.stream) << ToUtf8(c.text);
}

}  // namespace
}  // namespace qv

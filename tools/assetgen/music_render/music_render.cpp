// music_render MIDI_FILE OUT.ogg: the game's music as the native game plays it (the engine's
// music on the headless backend: the same synthesizer, soundfont and settings), rendered from
// its start until it reports stopped, into an Ogg Vorbis file for the browser's page, which
// has no MIDI synthesizer of its own.
#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "platform/mix.h"

namespace {

constexpr int PULL = 441;  // 10 ms, as finely as the game's keep-alive could notice the end
constexpr int MAX_SECONDS = 600;
// Around 64 kbit/s for the stereo piece: well under the level tolerance of the page's tests.
constexpr float QUALITY = 0.1f;

// The piece, interleaved stereo float at MIX_RATE; empty when it cannot be played.
std::vector<float> render(const char* path) {
  std::vector<float> out;
  sound_first_start = 1;
  start_sound_system();
  if (!start_music_system()) return out;
  const int id = load_midi(path);
  if (id >= 0 && play_midi(id)) {
    std::vector<float> block(size_t(PULL) * MIX_CHANNELS);
    while (midi_status(id) == SLOT_PLAYING && out.size() < size_t(MAX_SECONDS) * MIX_RATE * 2) {
      plat_mix_render(block.data(), PULL);
      out.insert(out.end(), block.begin(), block.end());
    }
  }
  delete_all_midi();
  shutdown_music_system();
  shutdown_sound_system();
  return out;
}

bool write_page(std::FILE* out, const ogg_page& page) {
  return std::fwrite(page.header, 1, size_t(page.header_len), out) == size_t(page.header_len) &&
         std::fwrite(page.body, 1, size_t(page.body_len), out) == size_t(page.body_len);
}

bool encode(const std::vector<float>& stereo, std::FILE* out) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, MIX_CHANNELS, MIX_RATE, QUALITY) != 0) return false;
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "Ashfallow");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);  // one stream in the file: any serial number does
  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  bool ok = true;
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) ok = ok && write_page(out, page);

  const size_t frames = stereo.size() / 2;
  constexpr size_t STEP = 4096;
  for (size_t at = 0;; at += STEP) {
    const size_t n = at < frames ? std::min(STEP, frames - at) : 0;
    if (n > 0) {
      float** channels = vorbis_analysis_buffer(&dsp, int(n));
      for (size_t i = 0; i < n; ++i) {
        channels[0][i] = stereo[2 * (at + i)];
        channels[1][i] = stereo[2 * (at + i) + 1];
      }
    }
    vorbis_analysis_wrote(&dsp, int(n));  // 0 marks the end
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page)) ok = ok && write_page(out, page);
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&stream, &page)) ok = ok && write_page(out, page);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: music_render MIDI_FILE OUT.ogg\n");
    return 2;
  }
  const std::vector<float> piece = render(argv[1]);
  if (piece.empty()) {
    std::fprintf(stderr, "music_render: %s cannot be played\n", argv[1]);
    return 1;
  }
  std::FILE* out = std::fopen(argv[2], "wb");
  const bool encoded = out && encode(piece, out);
  const bool closed = out && std::fclose(out) == 0;
  if (!encoded || !closed) {
    std::fprintf(stderr, "music_render: cannot write %s\n", argv[2]);
    std::remove(argv[2]);
    return 1;
  }
  std::printf("music_render: %s, %.2f s\n", argv[2], double(piece.size() / 2) / MIX_RATE);
  return 0;
}

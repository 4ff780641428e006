// Writes the game's four wave files into the folder given, at build time.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "window/sound/wave_file.h"
#include "window/sound/wave_synth.h"

namespace {

// Written beside the target and then renamed, so an interrupted build never
// leaves a half-written sound for the game to find.
bool write_whole(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path part = path;
  part += ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(part, path, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder(argv[1]);
  struct Made {
    const char* name;
    vv::PcmClip clip;
  };
  const Made sounds[] = {
      {"その他.wav", vv::synth::about_chime()},
      {"禁止.wav", vv::synth::refusal_buzz()},
      {"駒打音.wav", vv::synth::piece_click()},
      {"BGM.wav", vv::synth::music_loop()},
  };
  for (const Made& m : sounds) {
    const std::filesystem::path path = folder / m.name;
    if (!write_whole(path, vv::wave_image(m.clip))) {
      std::fprintf(stderr, "make_sounds: cannot write %s\n", path.string().c_str());
      return 1;
    }
  }
  return 0;
}

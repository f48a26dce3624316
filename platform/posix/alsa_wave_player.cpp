// Wave playback through ALSA. The library is opened only when the first sound
// plays, so that a program that never rings pays nothing for it.

#include <dlfcn.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/file_system.h"
#include "platform/os.h"
#include "platform/system.h"
#include "platform/wave_file.h"

namespace tavo::platform {
namespace {

// The few ALSA entry points used, declared here so no ALSA header is needed.
using snd_pcm_t = struct _snd_pcm;
using snd_pcm_sframes_t = long;
using snd_pcm_uframes_t = unsigned long;
constexpr int kStreamPlayback = 0;
constexpr int kAccessRwInterleaved = 3;
constexpr int kFormatU8 = 1;
constexpr int kFormatS16Le = 2;

struct Alsa {
  int (*pcm_open)(snd_pcm_t**, const char*, int, int) = nullptr;
  int (*pcm_set_params)(snd_pcm_t*, int, int, unsigned, unsigned, int, unsigned) = nullptr;
  snd_pcm_sframes_t (*pcm_writei)(snd_pcm_t*, const void*, snd_pcm_uframes_t) = nullptr;
  int (*pcm_recover)(snd_pcm_t*, int, int) = nullptr;
  int (*pcm_drain)(snd_pcm_t*) = nullptr;
  int (*pcm_drop)(snd_pcm_t*) = nullptr;
  int (*pcm_close)(snd_pcm_t*) = nullptr;
  int (*set_error_handler)(void (*)(const char*, int, const char*, int, const char*, ...)) = nullptr;
  bool ok = false;
};

void QuietAlsaErrors(const char*, int, const char*, int, const char*, ...) {}

template <typename F>
bool Bind(void* lib, const char* name, F* fn) {
  *fn = reinterpret_cast<F>(::dlsym(lib, name));
  return *fn != nullptr;
}

const Alsa& LoadAlsa() {
  static const Alsa alsa = [] {
    Alsa a;
    void* lib = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return a;
    a.ok = Bind(lib, "snd_pcm_open", &a.pcm_open) && Bind(lib, "snd_pcm_set_params", &a.pcm_set_params) &&
           Bind(lib, "snd_pcm_writei", &a.pcm_writei) && Bind(lib, "snd_pcm_recover", &a.pcm_recover) &&
           Bind(lib, "snd_pcm_drain", &a.pcm_drain) && Bind(lib, "snd_pcm_drop", &a.pcm_drop) &&
           Bind(lib, "snd_pcm_close", &a.pcm_close);
    if (Bind(lib, "snd_lib_error_set_handler", &a.set_error_handler)) a.set_error_handler(QuietAlsaErrors);
    return a;
  }();
  return alsa;
}

class AlsaWavePlayer : public WavePlayer {
 public:
  ~AlsaWavePlayer() override { Stop(); }

  void PlayAsync(const std::string& path) override {
    Stop();
    std::string bytes;
    WaveData wave;
    if (path.empty() || !ReadWholeFile(RealFileSystem(), path, &bytes) || !ParseWave(bytes, &wave)) return;
    const unsigned generation = ++generation_;
    worker_ = std::thread([this, generation, wave = std::move(wave)] { Play(wave, generation); });
  }

 private:
  void Stop() {
    ++generation_;
    if (worker_.joinable()) worker_.join();
  }

  void Play(const WaveData& wave, unsigned generation) {
    const Alsa& alsa = LoadAlsa();
    if (!alsa.ok) return;
    snd_pcm_t* pcm = nullptr;
    if (alsa.pcm_open(&pcm, "default", kStreamPlayback, 0) < 0) return;
    const int format = wave.BitsPerSample == 8 ? kFormatU8 : kFormatS16Le;
    if (alsa.pcm_set_params(pcm, format, kAccessRwInterleaved, static_cast<unsigned>(wave.Channels),
                            static_cast<unsigned>(wave.SampleRate), 1, 200000) < 0) {
      alsa.pcm_close(pcm);
      return;
    }
    const size_t frame_bytes = static_cast<size_t>(wave.Channels * wave.BitsPerSample / 8);
    const size_t frames = wave.Samples.size() / frame_bytes;
    size_t done = 0;
    bool cut = false;
    while (done < frames) {
      if (generation_ != generation) {
        cut = true;
        break;
      }
      const size_t chunk = frames - done < 1024 ? frames - done : 1024;
      snd_pcm_sframes_t written = alsa.pcm_writei(pcm, wave.Samples.data() + done * frame_bytes, chunk);
      if (written < 0) written = alsa.pcm_recover(pcm, static_cast<int>(written), 1);
      if (written < 0) break;
      done += static_cast<size_t>(written);
    }
    if (cut) alsa.pcm_drop(pcm); else alsa.pcm_drain(pcm);
    alsa.pcm_close(pcm);
  }

  std::atomic<unsigned> generation_{0};
  std::thread worker_;
};

}  // namespace

WavePlayer& os::Sound() {
  static AlsaWavePlayer player;
  return player;
}

}  // namespace tavo::platform

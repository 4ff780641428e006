#include "window/sound/sound_library.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <vector>

#include "window/sound/sound_mixer.h"
#include "window/sound/wave_file.h"

namespace vv {

namespace {

// The device is fed from a thread of its own: the window's thread may be busy
// in the computer's search for a while, and the music must not stall then.
// An effect is heard after at most the device's buffer plus one feed.
constexpr int kBufferMilliseconds = 20;
constexpr int kFeedMilliseconds = 5;
// A device that has not started within this long counts as no device.
constexpr auto kDeviceAnswer = std::chrono::seconds(2);

// Lives in the audio thread; owns the sink and tops its buffer up.
class Feeder : public QObject {
 public:
  Feeder(SoundMixer& mixer, const QAudioDevice& device, const QAudioFormat& format)
      : mixer_(mixer), device_(device), format_(format) {}

  bool begin() {
    sink_ = new QAudioSink(device_, format_, this);
    sink_->setBufferSize(format_.bytesForDuration(kBufferMilliseconds * 1000));
    io_ = sink_->start();
    if (io_ == nullptr || sink_->error() != QAudio::NoError || sink_->state() == QAudio::StoppedState) return false;
    chunk_.resize(std::size_t(std::max<qsizetype>(sink_->bufferSize(), format_.bytesPerFrame())));
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, &Feeder::feed);
    timer->start(kFeedMilliseconds);
    feed();
    return true;
  }

  void end() {
    if (sink_ != nullptr) sink_->stop();
  }

 private:
  void feed() {
    const int frame_bytes = format_.bytesPerFrame();
    const qint64 free_bytes = std::min<qint64>(sink_->bytesFree(), qint64(chunk_.size()));
    const std::size_t frames = std::size_t(free_bytes / frame_bytes);
    if (frames == 0) return;
    if (format_.sampleFormat() == QAudioFormat::Float)
      mixer_.render(reinterpret_cast<float*>(chunk_.data()), frames);
    else
      mixer_.render(reinterpret_cast<std::int16_t*>(chunk_.data()), frames);
    io_->write(chunk_.data(), qint64(frames) * frame_bytes);
  }

  SoundMixer& mixer_;
  QAudioDevice device_;
  QAudioFormat format_;
  QAudioSink* sink_ = nullptr;
  QIODevice* io_ = nullptr;
  std::vector<char> chunk_;
};

// Runs `work` in the feeder's thread and waits for its answer, but not for
// ever: false when it did not answer in time.
bool run_in(QObject* target, std::function<bool()> work) {
  auto answer = std::make_shared<std::promise<bool>>();
  std::future<bool> result = answer->get_future();
  QMetaObject::invokeMethod(target, [answer, work = std::move(work)] { answer->set_value(work()); },
                            Qt::QueuedConnection);
  if (result.wait_for(kDeviceAnswer) != std::future_status::ready) return false;
  return result.get();
}

class DeviceOutput : public SoundOutput {
 public:
  ~DeviceOutput() override { stop(); }

  bool start(SoundMixer& mixer) override {
    if (QCoreApplication::instance() == nullptr) return false;
    const QList<QAudioDevice> devices = QMediaDevices::audioOutputs();
    if (devices.isEmpty()) return false;
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) device = devices.first();
    QAudioFormat format;
    if (!choose_format(device, format)) return false;
    mixer.set_format(format.sampleRate(), format.channelCount());

    thread_ = new QThread;
    feeder_ = new Feeder(mixer, device, format);
    feeder_->moveToThread(thread_);
    thread_->start(QThread::TimeCriticalPriority);
    Feeder* feeder = feeder_;
    if (run_in(feeder_, [feeder] { return feeder->begin(); })) return true;
    stop();
    return false;
  }

  void stop() override {
    if (thread_ == nullptr) return;
    Feeder* feeder = feeder_;
    const bool answered = run_in(feeder_, [feeder] {
      feeder->end();
      delete feeder;
      return true;
    });
    feeder_ = nullptr;
    thread_->quit();
    // A thread that no longer answers is left to the end of the process:
    // destroying a running thread would take the program down with it.
    if (answered && thread_->wait(QDeadlineTimer(kDeviceAnswer))) delete thread_;
    thread_ = nullptr;
  }

 private:
  // 16-bit stereo at 44100 Hz when the device takes it, else the device's own
  // rate and channels in 16-bit or float samples; the mixer converts.
  static bool choose_format(const QAudioDevice& device, QAudioFormat& format) {
    format.setSampleRate(44100);
    format.setChannelCount(2);
    format.setSampleFormat(QAudioFormat::Int16);
    if (device.isFormatSupported(format)) return true;
    format = device.preferredFormat();
    if (format.sampleFormat() == QAudioFormat::Int16 || format.sampleFormat() == QAudioFormat::Float)
      return format.sampleRate() > 0 && format.channelCount() > 0;
    format.setSampleFormat(QAudioFormat::Int16);
    return device.isFormatSupported(format);
  }

  QThread* thread_ = nullptr;
  Feeder* feeder_ = nullptr;
};

struct Library {
  std::unique_ptr<SoundMixer> mixer;
  std::unique_ptr<SoundOutput> output;
};

// Every open library and buffer by handle. Handles count up from 1 and are
// never reused, so a stale handle can never reach someone else's buffer.
struct Registry {
  std::mutex mutex;
  long next_handle = 1;
  std::map<long, Library> libraries;
  std::map<long, long> buffer_library;
};

Registry& registry() {
  // Never destroyed: a library still open at exit must not be torn down
  // after Qt itself has gone.
  static Registry* r = new Registry;
  return *r;
}

SoundMixer* mixer_of_buffer(Registry& r, long buffer) {
  const auto b = r.buffer_library.find(buffer);
  if (b == r.buffer_library.end()) return nullptr;
  const auto l = r.libraries.find(b->second);
  return l == r.libraries.end() ? nullptr : l->second.mixer.get();
}

}  // namespace

long open_sound_library(QWidget*) { return open_sound_library(std::make_unique<DeviceOutput>()); }

long open_sound_library(std::unique_ptr<SoundOutput> output) {
  if (!output) return 0;
  auto mixer = std::make_unique<SoundMixer>();
  if (!output->start(*mixer)) return 0;
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const long handle = r.next_handle++;
  r.libraries[handle] = Library{std::move(mixer), std::move(output)};
  return handle;
}

long create_sound_buffer(long library, const void* image, std::size_t size, int flags, std::string* error) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto l = r.libraries.find(library);
  if (l == r.libraries.end()) return 0;
  auto clip = std::make_shared<PcmClip>();
  std::string reason;
  if (!parse_wave(image, size, *clip, reason)) {
    if (error != nullptr) *error = reason;
    return 0;
  }
  const long handle = r.next_handle++;
  l->second.mixer->add(handle, std::move(clip), (flags & SOUND_EFFECT) == SOUND_EFFECT);
  r.buffer_library[handle] = library;
  return handle;
}

void play_buffer(long buffer) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (SoundMixer* m = mixer_of_buffer(r, buffer)) m->play(buffer, false);
}

void loop_buffer(long buffer) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (SoundMixer* m = mixer_of_buffer(r, buffer)) m->play(buffer, true);
}

void stop_buffer(long buffer) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (SoundMixer* m = mixer_of_buffer(r, buffer)) m->stop(buffer);
}

void free_buffer(long buffer) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (SoundMixer* m = mixer_of_buffer(r, buffer)) m->remove(buffer);
  r.buffer_library.erase(buffer);
}

void close_sound_library(long library) {
  Library closing;
  {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    const auto l = r.libraries.find(library);
    if (l == r.libraries.end()) return;
    closing = std::move(l->second);
    r.libraries.erase(l);
    std::erase_if(r.buffer_library, [library](const auto& b) { return b.second == library; });
  }
  // Outside the lock: stopping waits for the audio thread.
  closing.output->stop();
}

SoundMixer* mixer_of_library(long library) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const auto l = r.libraries.find(library);
  return l == r.libraries.end() ? nullptr : l->second.mixer.get();
}

}  // namespace vv

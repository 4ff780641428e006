#include "window/sound/sound_bank.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "window/sound/sound_library.h"

namespace vv {

namespace {

struct SoundFile {
  Sound sound;
  const char* name;
  int flags;
};

// The load order, which is also the order in which the buffers are freed.
constexpr SoundFile kFiles[] = {
    {Sound::CHIME, "その他.wav", SOUND_EFFECT},
    {Sound::REFUSED, "禁止.wav", SOUND_EFFECT},
    {Sound::PIECE_PLACED, "駒打音.wav", SOUND_EFFECT},
    {Sound::MUSIC, "BGM.wav", SOUND_MUSIC},
};

// The working folder first, so a player's own sounds win; then beside the
// program (a build tree); then where the game is installed.
QString find_sound(const QString& name) {
  QStringList folders{QDir::currentPath()};
  if (QCoreApplication::instance() != nullptr) {
    // Beside the program, and where a package put it: bin/../share/veverodu.
    folders << QCoreApplication::applicationDirPath()
            << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/veverodu");
  }
#ifdef VEVERODU_SOUND_DIR
  folders << QStringLiteral(VEVERODU_SOUND_DIR);
#endif
  for (const QString& folder : folders) {
    const QFileInfo file(QDir(folder), name);
    if (file.isFile()) return file.filePath();
  }
  return {};
}

}  // namespace

bool SoundBank::open(QWidget* window, std::vector<std::string>& problems) {
  close();
  library_ = open_sound_library(window);
  if (library_ == 0) return false;
  for (const SoundFile& f : kFiles) {
    long& buffer = buffers_[int(f.sound)];
    const QString name = QString::fromUtf8(f.name);
    const QString path = find_sound(name);
    if (path.isEmpty()) continue;  // a missing sound is silent
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      problems.push_back((name + ": " + file.errorString()).toStdString());
      continue;
    }
    const QByteArray image = file.readAll();
    if (file.error() != QFileDevice::NoError) {
      problems.push_back((name + ": " + file.errorString()).toStdString());
      continue;
    }
    std::string reason;
    buffer = create_sound_buffer(library_, image.constData(), std::size_t(image.size()), f.flags, &reason);
    if (buffer == 0) problems.push_back(std::string(f.name) + ": " + reason);
  }
  return true;
}

void SoundBank::play(Sound s) { play_buffer(buffers_[int(s)]); }

void SoundBank::play_looping(Sound s) { loop_buffer(buffers_[int(s)]); }

void SoundBank::stop(Sound s) { stop_buffer(buffers_[int(s)]); }

void SoundBank::close() {
  for (const SoundFile& f : kFiles) {
    free_buffer(buffers_[int(f.sound)]);
    buffers_[int(f.sound)] = 0;
  }
  if (library_ != 0) close_sound_library(library_);
  library_ = 0;
}

}  // namespace vv

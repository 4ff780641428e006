#include "window/sound/sound_bank.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "window/sound/ds_sound.h"

namespace vv {

namespace {

struct SoundFile {
  Sound sound;
  const char* name;
  int flags;
};

// The load order, which is also the order in which the buffers are freed.
constexpr SoundFile kFiles[] = {
    {Sound::CHIME, "その他.wav", kSoundEffect},
    {Sound::REFUSED, "禁止.wav", kSoundEffect},
    {Sound::PIECE_PLACED, "駒打音.wav", kSoundEffect},
    {Sound::MUSIC, "BGM.wav", kSoundMusic},
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
  library_ = dsInitialize(window);
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
    buffer = dsCreateDSB(library_, image.constData(), std::size_t(image.size()), f.flags, &reason);
    if (buffer == 0) problems.push_back(std::string(f.name) + ": " + reason);
  }
  return true;
}

void SoundBank::play(Sound s) { dsPlay(buffers_[int(s)]); }

void SoundBank::play_looping(Sound s) { dsPlayLooping(buffers_[int(s)]); }

void SoundBank::stop(Sound s) { dsStop(buffers_[int(s)]); }

void SoundBank::close() {
  for (const SoundFile& f : kFiles) {
    dsFree(buffers_[int(f.sound)]);
    buffers_[int(f.sound)] = 0;
  }
  if (library_ != 0) dsTerminate(library_);
  library_ = 0;
}

}  // namespace vv

#include "app/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTextStream>
#include <algorithm>
#include <atomic>

#include "model/atomic_file.h"

namespace wolterix::app {

namespace {
const QString kCopySuffix = QStringLiteral(".wtx");
const QString kInfoSuffix = QStringLiteral(".info");
const QString kLockSuffix = QStringLiteral(".lock");
std::atomic<int> g_windows{0};

bool writeText(const QString& path, const QByteArray& bytes) {
  return model::writeFileAtomically(QFile::encodeName(path).toStdString(),
                                    std::string_view(bytes.constData(), bytes.size()));
}
}  // namespace

QString RecoveryStore::defaultDirectory() {
  const QSettings settings(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
  return QFileInfo(settings.fileName()).absolutePath() + QStringLiteral("/Wolterix-odzysk");
}

RecoveryStore::RecoveryStore(QString directory) : m_directory(std::move(directory)) {
  // A process that died may have had this one's number (after a restart of the computer,
  // say): its files are never taken over.
  const QString process = QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-');
  do {
    m_id = process + QString::number(++g_windows);
  } while (QFileInfo::exists(pathFor(m_id, kCopySuffix)) ||
           QFileInfo::exists(pathFor(m_id, kInfoSuffix)) ||
           QFileInfo::exists(pathFor(m_id, kLockSuffix)));
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::pathFor(const QString& id, const QString& suffix) const {
  return m_directory + QLatin1Char('/') + id + suffix;
}

QString RecoveryStore::copyPath() const { return pathFor(m_id, kCopySuffix); }

bool RecoveryStore::hasCopy() const { return QFileInfo::exists(copyPath()); }

bool RecoveryStore::write(const model::SchematicText& text, const QString& originalPath) {
  if (!QDir().mkpath(m_directory)) return false;
  // A schematic opened from this folder is never overwritten by its own copy.
  if (!originalPath.isEmpty() &&
      QFileInfo(originalPath).absoluteFilePath() == QFileInfo(copyPath()).absoluteFilePath())
    return false;
  if (!m_lock) {
    // Held while the window runs: a copy whose lock can be taken was left behind.
    m_lock = std::make_unique<QLockFile>(pathFor(m_id, kLockSuffix));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
      m_lock.reset();
      return false;
    }
  }
  QByteArray info;
  info.append(originalPath.toUtf8()).append('\n');
  info.append(QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8()).append('\n');
  // The copy first: an information file never names a copy that is not there.
  return model::saveSchematicText(QFile::encodeName(copyPath()).toStdString(), text).ok() &&
         writeText(pathFor(m_id, kInfoSuffix), info);
}

void RecoveryStore::remove() {
  QFile::remove(pathFor(m_id, kInfoSuffix));
  QFile::remove(pathFor(m_id, kCopySuffix));
  if (m_lock) {
    m_lock->unlock();
    m_lock.reset();
  }
}

std::vector<RecoveredCopy> RecoveryStore::leftOver() const {
  std::vector<RecoveredCopy> found;
  const QDir dir(m_directory);
  for (const QFileInfo& info :
       dir.entryInfoList({QStringLiteral("*") + kInfoSuffix}, QDir::Files)) {
    const QString id = info.completeBaseName();
    if (id == m_id) continue;
    // A window still running holds its lock; a lock nobody holds, or none, means it ended.
    QLockFile lock(pathFor(id, kLockSuffix));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) continue;
    lock.unlock();
    const QString copy = pathFor(id, kCopySuffix);
    if (!QFileInfo::exists(copy)) continue;
    QFile file(info.absoluteFilePath());
    if (!file.open(QIODevice::ReadOnly)) continue;
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    RecoveredCopy c;
    c.copyPath = copy;
    c.originalPath = in.readLine();
    c.saved = QDateTime::fromString(in.readLine(), Qt::ISODate);
    if (!c.saved.isValid()) c.saved = QFileInfo(copy).lastModified();
    found.push_back(c);
  }
  std::sort(found.begin(), found.end(),
            [](const RecoveredCopy& a, const RecoveredCopy& b) { return a.saved > b.saved; });
  return found;
}

void RecoveryStore::discard(const RecoveredCopy& copy) {
  const QFileInfo info(copy.copyPath);
  const QString base = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
  QFile::remove(base + kInfoSuffix);
  QFile::remove(copy.copyPath);
  QFile::remove(base + kLockSuffix);
}

}  // namespace wolterix::app

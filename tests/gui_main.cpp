#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
  // Tests never need a display and never touch the user's own settings.
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir temporary;
  // A child run of these tests shares its parent's folder (WOLTERIX_TEST_SETTINGS).
  const QString settingsDir = qEnvironmentVariableIsSet("WOLTERIX_TEST_SETTINGS")
                                  ? qEnvironmentVariable("WOLTERIX_TEST_SETTINGS")
                                  : temporary.path();
  qputenv("XDG_CONFIG_HOME", settingsDir.toUtf8());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);

  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

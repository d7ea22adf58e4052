#include "app/settings_store.h"

#include <QSettings>

namespace wolterix::app {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
}  // namespace

UserSettings readUserSettings() {
  QSettings settings(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
  UserSettings s;
  for (const StoredSetting& stored : storedSettings(s)) {
    const QString key = QString::fromStdString(stored.key);
    if (!settings.contains(key)) continue;
    const QVariant value = settings.value(key);
    std::visit(
        Overloaded{[&](drawing::Color* c) { *c = numberToColour(value.toLongLong()); },
                   [&](int* n) { *n = value.toInt(); }, [&](bool* b) { *b = value.toBool(); },
                   [&](std::string* t) { *t = value.toString().toStdString(); }},
        stored.field);
  }
  s.validate();
  return s;
}

void writeUserSettings(const UserSettings& settings) {
  UserSettings s = settings;
  QSettings store(QStringLiteral("Dorek"), QStringLiteral("Wolterix"));
  for (const StoredSetting& stored : storedSettings(s)) {
    const QString key = QString::fromStdString(stored.key);
    std::visit(Overloaded{[&](drawing::Color* c) {
                            store.setValue(key, static_cast<qlonglong>(colourToNumber(*c)));
                          },
                          [&](int* n) { store.setValue(key, *n); },
                          [&](bool* b) { store.setValue(key, *b); },
                          [&](std::string* t) { store.setValue(key, QString::fromStdString(*t)); }},
               stored.field);
  }
}

}  // namespace wolterix::app

#pragma once
/// The per-user settings in Qt's settings store.

#include "app/user_settings.h"

namespace wolterix::app {

/// The stored values (only those present), validated; defaults for the rest.
UserSettings readUserSettings();
/// Writes every value.
void writeUserSettings(const UserSettings& settings);

}  // namespace wolterix::app

#pragma once
/// The per-user settings: their values, defaults and the rules that make stored values safe.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "drawing/canvas.h"

namespace wolterix::app {

/// The twelve colours the schematic canvas may have.
std::span<const drawing::Color> canvasColours();
/// The colours the plot window may have: black and eleven others.
std::span<const drawing::Color> plotColours();

/// A colour as stored: red in the low byte, then green, then blue.
std::int64_t colourToNumber(drawing::Color c);
drawing::Color numberToColour(std::int64_t value);

struct UserSettings {
  drawing::Color canvasColour{0, 255, 0};  ///< KolorTe
  drawing::Color plotColour{0, 0, 0};      ///< KolorTw
  int grid = 20;                           ///< Siatka
  bool showGrid = true;                    ///< pSiatke
  int plotMode = 1;                        ///< LPSmode
  bool conductionStrip = true;             ///< pPrzew: the plot window's conduction strip
  bool toolPalette = true;                 ///< pPN
  bool objectPalette = true;               ///< pPO
  bool statusBar = true;                   ///< pPS
  std::array<std::string, 4> recent;       ///< Reo0..Reo3, newest first

  /// Replaces every value outside its accepted set by its default.
  void validate();
};

/// A stored value: its key in the settings store and the field that holds it.
struct StoredSetting {
  std::string key;
  std::variant<drawing::Color*, int*, bool*, std::string*> field;
};
/// Every stored value of the settings with its key, for reading and writing alike.
std::vector<StoredSetting> storedSettings(UserSettings& settings);

/// Makes path the newest recent file, moving it up if it is already listed. Returns whether
/// the list changed.
bool addRecentFile(std::array<std::string, 4>& recent, const std::string& path);

}  // namespace wolterix::app

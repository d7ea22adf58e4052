#include "app/user_settings.h"

#include <algorithm>

namespace wolterix::app {

namespace {
constexpr drawing::Color kCanvasColours[] = {
    {255, 207, 106}, {255, 255, 255}, {225, 227, 227}, {214, 248, 150},
    {222, 204, 194}, {0, 255, 255},   {179, 236, 194}, {194, 196, 222},
    {0, 255, 0},     {255, 255, 225}, {104, 210, 136}, {192, 192, 192},
};
constexpr drawing::Color kPlotColours[] = {
    {0, 0, 0},   {255, 255, 255}, {225, 227, 227}, {12, 0, 94},
    {102, 0, 0}, {1, 73, 21},     {0, 74, 69},     {85, 85, 85},
    {0, 255, 0}, {255, 255, 225}, {194, 196, 222}, {192, 192, 192},
};

bool contains(std::span<const drawing::Color> list, drawing::Color c) {
  return std::find(list.begin(), list.end(), c) != list.end();
}
}  // namespace

std::span<const drawing::Color> canvasColours() { return kCanvasColours; }
std::span<const drawing::Color> plotColours() { return kPlotColours; }

std::int64_t colourToNumber(drawing::Color c) {
  return static_cast<std::int64_t>(c.r) | (static_cast<std::int64_t>(c.g) << 8) |
         (static_cast<std::int64_t>(c.b) << 16);
}

drawing::Color numberToColour(std::int64_t value) {
  if (value < 0 || value > 0xFFFFFF) return {1, 2, 3};  // matches no allowed colour
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
          static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

void UserSettings::validate() {
  if (!contains(kCanvasColours, canvasColour)) canvasColour = {0, 255, 0};
  if (!contains(kPlotColours, plotColour)) plotColour = {0, 0, 0};
  if (grid != 16 && grid != 18 && grid != 20 && grid != 22 && grid != 24) grid = 20;
  if (plotMode < 0 || plotMode > 2) plotMode = 1;
}

std::vector<StoredSetting> storedSettings(UserSettings& s) {
  std::vector<StoredSetting> stored{
      {"KolorTe", &s.canvasColour}, {"KolorTw", &s.plotColour}, {"Siatka", &s.grid},
      {"pSiatke", &s.showGrid},     {"LPSmode", &s.plotMode},   {"pPN", &s.toolPalette},
      {"pPO", &s.objectPalette},    {"pPS", &s.statusBar},      {"pPrzew", &s.conductionStrip}};
  for (std::size_t i = 0; i < s.recent.size(); ++i)
    stored.push_back({"Reo" + std::to_string(i), &s.recent[i]});
  return stored;
}

bool addRecentFile(std::array<std::string, 4>& recent, const std::string& path) {
  if (path.empty() || recent[0] == path) return false;
  // Entries above the old place of the path move down one; the fourth drops off otherwise.
  std::size_t end = 3;
  for (std::size_t i = 1; i < recent.size(); ++i)
    if (recent[i] == path) {
      end = i;
      break;
    }
  for (std::size_t i = end; i > 0; --i) recent[i] = recent[i - 1];
  recent[0] = path;
  return true;
}

}  // namespace wolterix::app

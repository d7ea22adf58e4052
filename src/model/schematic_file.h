#pragma once
/// The schematic text: one line per object, code page 1250. It serves files, the clipboard
/// and the undo history alike.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/grid.h"

namespace wolterix::model {

class Schematic;

/// Lines of schematic text in code page 1250, without their line ends.
using SchematicText = std::vector<std::string>;

enum class ReadMode {
  Open = 0,           ///< create every readable object where it was stored
  PasteCheck = 1,     ///< create nothing; fail at the first shifted object that may not be placed
  PasteInsert = 2,    ///< create every readable object shifted by (dx, dy)
  MeasureBounds = 3,  ///< create nothing; record the bounding box of all points
};

struct ReadResult {
  bool success = true;
  GridPoint min{100, 100};  ///< MeasureBounds: smallest x and y read
  GridPoint max{0, 0};      ///< MeasureBounds: largest x and y read
  int skippedLines = 0;     ///< lines that could not be read (blank ones aside)
  int renamedElements = 0;  ///< elements whose name was refused or (Open) already taken
};

/// Writes the schematic (or its selected objects only) as text lines.
void writeSchematic(const Schematic& schematic, SchematicText& lines, bool selectedOnly);

/// The circuit as text without what only changes the drawing (shown names and arrows):
/// equal fingerprints mean the same circuit.
std::string circuitFingerprint(const Schematic& schematic);

/// Reads text lines into the schematic. Lines that cannot be read are skipped and counted;
/// blanks and tabs at a line's end are ignored. In Open mode a name already taken gives way to
/// the kind's next free default name, so that every name of the file refers to one element.
ReadResult readSchematic(Schematic& schematic, const SchematicText& lines, ReadMode mode,
                         int dx = 0, int dy = 0);

/// Outcome of a disk operation: empty error on success, else a message for the user.
struct FileResult {
  std::string error;
  bool ok() const { return error.empty(); }
};

/// Outcome of opening a file, with what a damaged file lost on the way.
struct OpenResult : FileResult {
  bool cancelled = false;  ///< stopped by the progress callback; no error to show
  bool ok() const { return error.empty() && !cancelled; }
  int skippedLines = 0;
  int renamedElements = 0;
  /// The user's warning when lines were skipped or names changed, else empty.
  std::string warning() const;
};

/// Splits file contents into lines. CR LF, LF, CR and CR CR LF all end a line; a UTF-8 file
/// (byte-order mark, or well-formed multi-byte sequences only) is converted to code page 1250.
SchematicText schematicTextFromBytes(std::string_view bytes);

/// Loads the lines of a file (see schematicTextFromBytes).
FileResult loadSchematicText(const std::filesystem::path& path, SchematicText& lines);
/// Writes lines with CR LF ends. The old file is replaced only once the new one is complete.
FileResult saveSchematicText(const std::filesystem::path& path, const SchematicText& lines);

/// Told now and then while a file is read: the bytes read so far and all of them. Answers
/// false to cancel the reading.
using ReadProgress = std::function<bool(std::size_t done, std::size_t total)>;

/// Replaces the schematic with the contents of a file. A file that cannot be read, a reading
/// cancelled through progress, and a non-empty file without a single readable object change
/// nothing.
OpenResult openSchematicFile(Schematic& schematic, const std::filesystem::path& path,
                             const ReadProgress& progress = {});
/// Writes the whole schematic to a file.
FileResult saveSchematicFile(const Schematic& schematic, const std::filesystem::path& path);

}  // namespace wolterix::model

#pragma once
/// "Plik → Przykłady": the example schematics that come with the program, by their Polish
/// titles.

#include <QString>
#include <filesystem>
#include <vector>

namespace wolterix::app {

struct ExampleFile {
  QString path;
  QString title;  ///< "Trójfazowy mostek tyrystorowy"; the file name for one not listed
};

/// The title of an example file ("mostek3f.wtx"), or the file name when it has none.
QString exampleTitle(const QString& fileName);

/// The .wtx files of a folder, ordered by title.
std::vector<ExampleFile> examplesIn(const std::filesystem::path& folder);

}  // namespace wolterix::app

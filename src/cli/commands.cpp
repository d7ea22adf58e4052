#include "cli/commands.h"

#include "model/schematic.h"
#include "model/schematic_file.h"

namespace wolterix::cli {

int listSchematic(const std::string& path, std::ostream& out, std::ostream& err) {
  model::Schematic schematic;
  const auto result = model::openSchematicFile(schematic, path);
  if (!result.ok()) {
    err << result.error << '\n';
    return 1;
  }
  for (const auto& element : schematic.elements())
    out << element->parameterText(model::TextForm::Display, schematic.transferMode()) << '\n';
  out << "Przewody: " << schematic.wires().size() << '\n';
  out << "Węzły: " << schematic.junctions().size() << '\n';
  return 0;
}

}  // namespace wolterix::cli

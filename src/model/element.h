#pragma once
/// The element base: name, orientation, terminals, parameters and their text forms.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/element_catalogue.h"
#include "model/engineering_number.h"
#include "model/obiekt.h"

namespace wolterix::model {

/// Which text form of the parameters is wanted.
enum class TextForm { File, Display };

/// Index under which the internal node of a bipolar transistor is asked for.
inline constexpr int kInternalNodeTerminal = 9;

/// The fields of a parameter file form, split at "/" with runs of "/" counting as one.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view fileForm);
  /// The next field, or nullopt when none is left.
  std::optional<std::string_view> next();

 private:
  // Split as it goes: a damaged line may hold millions of fields nobody asks for.
  std::string_view m_rest;
};

/// Base of the twenty-five element kinds.
class Element : public Obiekt {
 public:
  ElementKind kind() const { return m_kind; }
  const KindInfo& info() const { return kindInfo(m_kind); }

  const std::string& name() const { return m_name; }
  /// Replaces the name. Refuses an empty name and names that the file cannot carry faithfully
  /// ("«", "»", "/", "$", control characters, characters outside code page 1250).
  bool setName(std::string_view name);
  /// True when name can be given to an element (see setName).
  static bool isAcceptableName(std::string_view name);

  GridPoint position() const override { return m_position; }
  int orientation() const override { return m_orientation; }
  std::string nameOrCode(bool name) const override;

  bool currentDirection() const { return m_currentDirection; }
  void setCurrentDirection(bool direction) { m_currentDirection = direction; }

  /// Turns the element by steps orientation steps (a quarter turn is 2) about its centre.
  void rotate(OccupancyMap& map, int steps);
  /// Sets the terminals-swapped flag and recomputes the terminal points.
  void setTerminalsSwapped(OccupancyMap& map, bool swapped);
  /// Sets the centre of an element that is not yet on the grid (no occupancy update).
  void placeAt(GridPoint p) { setPosition(p); }
  /// Recomputes the label point and all terminal points from position and orientation.
  void placeTerminals();

  /// The grid point beside the centre across the axis (also the base of a bipolar transistor).
  GridPoint labelPoint() const { return m_labelPoint; }
  /// The two points P + d and P - d along the axis.
  PointPair axisPoints() const { return {m_axis1, m_axis2}; }
  /// Number of electrical terminals with a grid point (2, 3 or 4).
  int terminalCount() const { return model::terminalCount(m_kind); }
  /// Grid point of terminal i; for an index beyond the terminals, the second terminal.
  GridPoint terminalPoint(int i) const;
  /// True when any terminal of the element lies on p.
  bool hasTerminalAt(GridPoint p) const;
  /// If one of this element's numbered terminals lies on p, gives its node to terminal
  /// `terminal` of other and answers true.
  bool joinTerminalAt(Element& other, int terminal, GridPoint p) const;

  /// Node number of terminal i (0..3, or 9 for the internal node); -1 when not numbered.
  int terminalNode(int i) const;
  void setTerminalNode(int i, int node);

  PointPair terminalPair() const { return {m_terminals[0], m_terminals[1]}; }
  PointPair firstPair() const override { return terminalPair(); }
  /// Second winding or second path of four-terminal kinds; the terminal pair otherwise.
  PointPair secondPair() const;

  std::vector<GridPoint> coveredPoints() const override;

  // Parameters in file order.
  std::size_t parameterCount() const { return m_parameters.size(); }
  const Parameter& parameter(std::size_t i) const { return m_parameters.at(i); }
  const ParameterRow& parameterRow(std::size_t i) const { return info().parameters[i]; }
  /// Stores text and value when the text is acceptable for parameter i.
  bool setParameter(std::size_t i, std::string_view text);
  /// "Given" flag of an optional parameter (firing angles, switching times).
  bool isGiven(std::size_t i) const { return m_given.at(i); }
  void setGiven(std::size_t i, bool given) { m_given.at(i) = given; }

  /// Display form ("R1 { R=10k; }") or file form ("10k") of the parameters.
  virtual std::string parameterText(TextForm form, bool transferMode) const;
  /// Reads the file form field by field, setting the name first when one is given.
  void parseParameters(const std::string* name, std::string_view fileForm);

  /// Controlled sources: the controlling quantity; "" for every other kind.
  virtual std::string controlText() const { return {}; }
  /// Controlled sources: resets the controlling quantity to empty.
  virtual void clearControl() {}
  /// Input voltage: its level; 0 for every other kind.
  virtual double inputLevel() const { return 0.0; }
  /// Bipolar transistor: whether it is npn; true for every other kind.
  virtual bool isNpn() const { return true; }

 protected:
  explicit Element(ElementKind kind);

  /// Kinds with extra terminals place them here, after the common ones.
  virtual void placeFurtherTerminals(GridPoint /*direction*/) {}
  /// Reads the fields of the file form in order; the default reads the parameters only.
  virtual void parseFields(FieldCursor& fields);
  /// Reads parameters first..last-1 from fields; optional ones fill their slots in turn.
  void readParameters(FieldCursor& fields, std::size_t first, std::size_t last);
  /// Parameter texts first..last-1 for the file form (time-only ones skipped in a transfer
  /// workspace, optional ones only when given).
  void appendFileFields(std::vector<std::string>& fields, std::size_t first, std::size_t last,
                        bool transferMode) const;
  /// " L=1m;" style labelled values of parameters first..last-1.
  std::string labelledValues(std::size_t first, std::size_t last, bool transferMode) const;
  /// Texts of the given optional parameters first..last-1, each followed by suffix.
  std::string givenValues(std::size_t first, std::size_t last, std::string_view suffix) const;
  static std::string joinFields(const std::vector<std::string>& fields);

  std::array<GridPoint, 4> m_terminals{};

 private:
  void setPosition(GridPoint p) override;
  bool shown(std::size_t i, bool transferMode) const;

  ElementKind m_kind;
  std::string m_name;
  int m_orientation = 3;
  GridPoint m_position{};
  GridPoint m_labelPoint{};
  GridPoint m_axis1{};
  GridPoint m_axis2{};
  std::array<int, 5> m_terminalNodes{-1, -1, -1, -1, -1};
  bool m_currentDirection = true;
  std::vector<Parameter> m_parameters;
  std::vector<bool> m_given;
};

/// Direction vector d of an orientation: 1 -> (0,1), 3 -> (-1,0), 5 -> (0,-1), 7 -> (1,0).
GridPoint orientationDirection(int orientation);
/// Wraps an orientation into 1..8.
int wrapOrientation(int orientation);

/// Constructs a new element of a kind at a position, with default parameters and no name.
std::unique_ptr<Element> createElement(ElementKind kind, GridPoint position);

}  // namespace wolterix::model

#pragma once
/// The simulation side of an element: its branches, their stamps and its state.

#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "model/element.h"

namespace wolterix::model {
class Schematic;
}

namespace wolterix::engine {

class Network;

/// Which branch of an element a stamp is asked for.
enum class SubBranchCode : std::uint8_t {
  Single = 0,         ///< every kind with one branch: terminal 0 -> 1
  BjtCollector = 1,   ///< terminal 0 -> internal node
  BjtEmitter = 2,     ///< internal node -> terminal 1
  BjtBase = 3,        ///< terminal 2 -> internal node
  FirstWinding = 4,   ///< terminal 0 -> 1
  SecondWinding = 5,  ///< terminal 2 -> 3
  CurrentPath = 6,    ///< wattmeter, terminal 0 -> 1
  VoltagePath = 7,    ///< wattmeter, terminal 2 -> 3
};

/// A conductance in parallel with a current source: i = G * v - J, v = V(from) - V(to).
/// The two windings of coupled coils and transformers also see each other's voltage through
/// the mutual conductance Gm: i = G * v + Gm * v_other - J.
struct BranchStamp {
  double G = 0.0;
  double J = 0.0;
  double Gm = 0.0;
};

using Complex = std::complex<double>;

/// Complex admittance and source current of a branch at one frequency: i = Y * v - J.
struct AcStamp {
  Complex Y{};
  Complex J{};
};

/// Node voltages indexed by engine node number; entry 0 is the reference.
using NodeVector = std::span<const double>;

/// One branch of an element: its code and the terminals it runs between.
struct BranchShape {
  SubBranchCode code;
  int fromTerminal;
  int toTerminal;
};

/// Magnitude beyond which a potential, current, speed or power is taken for a run that blew
/// up rather than a result.
inline constexpr double kLargestResult = 1e30;
/// False for values beyond kLargestResult and for values that are not numbers.
inline bool withinBounds(double value) { return std::abs(value) <= kLargestResult; }

/// What a model takes part in during a run; the network calls only what a model needs.
enum ModelNeeds : unsigned {
  kNeedsPrepare = 1u,        ///< prepareStep does something
  kNeedsCheck = 2u,          ///< checkState may report a change
  kNeedsCommit = 4u,         ///< commitStep stores state
  kVaryingConductance = 8u,  ///< G may differ from one solve to the next within a run
  kConstantStamp = 16u,      ///< G and J stay the same for a whole run
  /// The stamp depends on the conduction state alone, and the model calls stampChanged()
  /// whenever that changes: the network takes a fresh stamp only then.
  kStampFollowsState = 32u,
  kSourceFree = 64u,  ///< J is always zero: the branch adds nothing to the right-hand side
  kNeedsEverything = 15u,
};

/// Per-kind simulation behaviour. A model is a snapshot of its element's parameters taken
/// when the simulation is set up; its state lives on between continued runs.
class ElementModel {
 public:
  explicit ElementModel(const model::Element& element);
  virtual ~ElementModel() = default;
  ElementModel(const ElementModel&) = delete;
  ElementModel& operator=(const ElementModel&) = delete;

  model::ElementKind kind() const { return m_kind; }
  const std::string& name() const { return m_name; }
  bool voltageDirection() const { return m_voltageDirection; }
  bool currentDirection() const { return m_currentDirection; }

  /// The element's branches in code order.
  std::span<const BranchShape> branches() const;

  /// Engine node of terminal i (0..3, or 9 for the internal node).
  int node(int terminal) const {
    return m_nodes[terminal == model::kInternalNodeTerminal ? 4 : terminal];
  }
  void setNode(int terminal, int node);

  /// Stamp of one branch for step h at time t.
  virtual BranchStamp companion(double h, double t, SubBranchCode code) = 0;
  /// Admittance at frequency f (Hz) of the element's single branch; open by default.
  virtual AcStamp acStamp(double /*f*/) const { return {}; }
  /// Initial state for a run that starts at time 0.
  virtual void resetState() {}
  /// After an accepted step: store the state variables.
  virtual void commitStep(NodeVector /*V*/, double /*h*/, double /*t*/) {}
  /// Before each assembly of a step.
  virtual void prepareStep(double /*h*/, NodeVector /*V*/) {}
  /// After each solve: true when the conduction state changed.
  virtual bool checkState(NodeVector /*V*/) { return false; }
  /// True when every value the kind computes with is given and usable.
  virtual bool hasParameters() const;
  /// True when the two terminals of a branch lie on one node.
  bool hasShortedTerminals() const;
  /// Motor speed in revolutions per minute; 0 for every kind but the motor.
  virtual double motorSpeed() const { return 0.0; }
  /// Switching elements: 1 while conducting (2 for a Zener diode in breakdown, the BJT while
  /// active), 0 while not; -1 for every other kind.
  virtual int conductionState() const { return -1; }
  /// Once per run, after the network is built: lets a model find what it reads from others.
  virtual void bind(const Network& /*network*/) {}
  /// Which of the step operations matter for this kind (all of them unless a kind says less).
  virtual unsigned needs() const { return kNeedsEverything; }
  /// Where the network hears of a changed kStampFollowsState stamp: the model's number goes
  /// on the list once, until the network takes the fresh stamp (takeStampChange).
  void reportStampChangesTo(std::vector<int>* pending, int number) {
    m_pendingStamps = pending;
    m_stampNumber = number;
  }
  void takeStampChange() { m_stampChanged = false; }

 protected:
  /// The value of the parameter at a named position (model::param).
  double value(std::size_t i) const { return m_values[i]; }
  bool given(std::size_t i) const { return m_given[i]; }
  /// True when parameters first..last-1 all hold numbers.
  bool haveValues(std::size_t first, std::size_t last) const;
  std::size_t parameterCount() const { return m_parameters.size(); }
  /// V(terminal a) - V(terminal b).
  double voltage(NodeVector V, int a, int b) const { return V[node(a)] - V[node(b)]; }
  /// Tells the network that the stamp is to be taken afresh (see kStampFollowsState).
  void stampChanged() {
    if (m_stampChanged) return;
    m_stampChanged = true;
    if (m_pendingStamps) m_pendingStamps->push_back(m_stampNumber);
  }

  bool m_voltageDirection;
  bool m_currentDirection;
  bool m_swapped;

 private:
  model::ElementKind m_kind;
  std::string m_name;
  std::vector<model::Parameter> m_parameters;
  std::array<double, 16> m_values{};  ///< the parameter values, kept close for the step loop
  std::vector<bool> m_given;
  std::array<int, 5> m_nodes{0, 0, 0, 0, 0};
  bool m_stampChanged = false;
  std::vector<int>* m_pendingStamps = nullptr;
  int m_stampNumber = 0;
};

/// Creates the model of an element.
std::unique_ptr<ElementModel> createModel(const model::Element& element,
                                          const model::Schematic& schematic);

}  // namespace wolterix::engine

#pragma once
/// Adding branch stamps into nodal equations. Every assembly goes through stampBranch: the
/// dense matrix of the plain elimination, the band of the ordered solver, the right-hand sides
/// solved against a stored factorisation and the complex matrix of the transfer sweep.
///
/// A target numbers the unknowns its own way and provides
///   static constexpr bool kConductances, kSources;  which parts of the equations it holds
///   bool unknown(int index) const;                   false for the reference
///   Value& entry(int row, int column);               a conductance (with kConductances)
///   Value& source(int row);                          a right-hand side (with kSources)
/// Each entry receives its terms in branch order, and within a branch the branch's own terms
/// before its mutual ones: results depend on that order down to the last digit.

#include <cstddef>
#include <utility>

namespace wolterix::engine {

/// The two ends of a branch in a target's numbering.
struct BranchEnds {
  int from = 0;
  int to = 0;
};

/// Adds the branch i = G * (v(from) - v(to)) - J, and with a non-zero Gm the coupling to the
/// partner winding, + Gm * (v(partner.from) - v(partner.to)). partner is read only when Gm is
/// not zero.
template <class Target, class Value>
inline void stampBranch(Target& target, BranchEnds ends, const Value& G, const Value& J,
                        BranchEnds partner = {}, const Value& Gm = Value{}) {
  const int f = ends.from;
  const int t = ends.to;
  if (target.unknown(f)) {
    if constexpr (Target::kConductances) target.entry(f, f) += G;
    if constexpr (Target::kSources) target.source(f) += J;
    if constexpr (Target::kConductances)
      if (target.unknown(t)) target.entry(f, t) -= G;
  }
  if (target.unknown(t)) {
    if constexpr (Target::kConductances) target.entry(t, t) += G;
    if constexpr (Target::kSources) target.source(t) -= J;
    if constexpr (Target::kConductances)
      if (target.unknown(f)) target.entry(t, f) -= G;
  }
  if constexpr (Target::kConductances) {
    if (Gm == Value{}) return;
    // Cross terms: this branch's current depends on the partner's voltage.
    for (const auto& [row, sign] : {std::pair{f, 1.0}, std::pair{t, -1.0}}) {
      if (!target.unknown(row)) continue;
      if (target.unknown(partner.from)) target.entry(row, partner.from) += sign * Gm;
      if (target.unknown(partner.to)) target.entry(row, partner.to) -= sign * Gm;
    }
  }
}

/// A full matrix of n rows and n + 1 columns indexed by node: row and column 0 (the
/// reference) unused, column n the right-hand side. Without Sources that column is left alone.
template <class Value, bool Sources = true>
struct DenseNodalTarget {
  static constexpr bool kConductances = true;
  static constexpr bool kSources = Sources;

  DenseNodalTarget(Value* values, int n)
      : a(values), w(static_cast<std::size_t>(n) + 1), n(static_cast<std::size_t>(n)) {}
  static bool unknown(int node) { return node != 0; }
  Value& entry(int row, int column) {
    return a[static_cast<std::size_t>(row) * w + static_cast<std::size_t>(column)];
  }
  Value& source(int row) { return a[static_cast<std::size_t>(row) * w + n]; }

  Value* a;
  std::size_t w;
  std::size_t n;
};

/// A right-hand side alone, indexed by node (0 the reference) or by solver position (-1 the
/// reference).
template <int Reference>
struct SourceVectorTarget {
  static constexpr bool kConductances = false;
  static constexpr bool kSources = true;

  static bool unknown(int index) { return index != Reference; }
  double& source(int row) { return b[static_cast<std::size_t>(row)]; }

  double* b;
};

}  // namespace wolterix::engine

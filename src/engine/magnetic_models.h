#pragma once
/// Coupled coils and the single-phase transformer: two windings integrated together.

#include "engine/element_model.h"

namespace wolterix::engine {

/// Two coupled inductors, integrated implicitly with backward Euler: each winding current
/// depends on both winding voltages through the inverse inductance matrix.
class CoupledCoilsModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  /// Coupling is capped just below 100 %, where the inductance matrix would be singular.
  static constexpr double kMaxCoupling = 0.9999;

  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;

 private:
  struct Inverse {
    double g11, g22, g12;
  };
  Inverse inverse() const;

  double m_current1 = 0.0;
  double m_current2 = 0.0;
};

/// Transformer from nameplate data: per winding R and leakage L in series, the perfectly
/// coupled magnetising inductances with iron-loss conductances across them.
class TransformerModel final : public ElementModel {
 public:
  unsigned needs() const override { return kNeedsCommit; }
  using ElementModel::ElementModel;
  BranchStamp companion(double h, double t, SubBranchCode code) override;
  bool hasParameters() const override;
  void resetState() override;
  void commitStep(NodeVector V, double h, double t) override;

  /// Equivalent-circuit values (valid after resetState).
  struct Equivalent {
    double r1, r2;              ///< winding resistances
    double leakage1, leakage2;  ///< leakage inductances
    double lm1, lm2, m12;       ///< magnetising inductances and their mutual term
    double gfe1, gfe2;          ///< iron-loss conductances
    double perUnitLeakage;      ///< x
    double r;                   ///< 50 / (pi f S Ior)
  };
  const Equivalent& equivalent() const { return m_eq; }
  /// Computes the equivalent circuit from the nameplate data.
  Equivalent computeEquivalent() const;

 private:
  struct TwoPort {
    double y11, y22, y12, c1, c2;
  };
  TwoPort twoPort(double h) const;
  /// What a step of length h makes of the windings: ratings u, winding impedances z (R + Ls/h),
  /// leakage histories a (Ls i'/h) and the flux equation's denominator d.
  struct StepTerms {
    double u[2], z[2], a[2], d;
  };
  StepTerms stepTerms(double h) const;

  Equivalent m_eq{};
  double m_current1 = 0.0;
  double m_current2 = 0.0;
  double m_flux = 0.0;  ///< r * (U1 im1 + U2 im2): flux linkage per volt of rating
};

}  // namespace wolterix::engine

#pragma once
/// The state of the open document that edits, runs and measurements change.

namespace wolterix::model {

/// The document flags every edit touches.
struct DocumentFlags {
  bool modified = false;
  bool resultsValid = false;
  bool measurementContinuable = false;
};

}  // namespace wolterix::model

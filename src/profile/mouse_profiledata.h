#pragma once

#include <vector>

#include "profile/basic_profiledata.h"

namespace profile {

// The mouse's profile document: besides the common records, the DPI stages and the twelve system
// values ("SystemStages" and "ReportStages").
class CMouseProfiledata : public CBasicProfiledata {
  public:
    // "DPIStages": takes the active stage, then lays the stored stages over the cached list
    // position by position; cached stages beyond the stored ones stay as they are. Returns the
    // cached list.
    std::vector<DpiStage> ReadDpiStages();
    void WriteDpiStages(const std::vector<DpiStage>& stages);
    int GetActiveDpiStage() const { return activeDpiStage_; }
    void SetActiveDpiStage(int stage);

    MouseSystemSettings ReadMouseSystem();
    void WriteMouseSystem(const MouseSystemSettings& values);

  private:
    std::vector<DpiStage> dpiStages_;
    int activeDpiStage_ = 0;
    MouseSystemSettings system_;
};

}  // namespace profile

#pragma once

#include <array>
#include <cstdint>

#include "link/command_job.h"
#include "model/system_model.h"

namespace qavo {

// The sensitivity of the host's speaker-line supervision: a list of five
// detection levels, entry i standing for impedance_level i on the wire.
class SpImpedanceLogic {
  public:
    static constexpr int kLevels = 5;
    static constexpr std::array<const char*, kLevels> kEntries = {"10%", "15%", "20%", "25%",
                                                                  "30%"};

    // Opens on the level the console holds.
    explicit SpImpedanceLogic(uint8_t impedance_level) { ShowLevel(impedance_level); }

    // The host reported a level (or the dialog opens): the list selects it.
    void ShowLevel(uint8_t impedance_level);
    // The operator picked entry `index`; anything that is not an entry of
    // the list leaves the selection as it was.
    void Select(int index);

    // The entry selected, always 0 to 4: the list is never without a selection.
    int selection() const { return selection_; }

    // The read that comes before the dialog opens: IMPEDANCE with parameter 0.
    static Job ReadJob();
    // "OK": the selected level becomes impedance_level (under the model's
    // lock); returns the job that sends it, IMPEDANCE with parameter 1.
    Job Ok(SystemModel& model) const;

  private:
    int selection_ = 0;
};

}  // namespace qavo

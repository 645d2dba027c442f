#include "shell/frame.h"

Frame TheFrame() {
    return Frame{};
}

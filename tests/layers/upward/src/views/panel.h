#pragma once

#include <vector>

#include "logic/rule.h"
#include "shell/frame.h"

struct Panel {
    Frame* frame = nullptr;
};

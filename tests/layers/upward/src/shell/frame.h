#pragma once

#include "views/panel.h"

struct Frame {
    Panel panel;
};

#pragma once

#include "logic/rule.h"

struct Sheet {
    int rule = Rule();
};

#pragma once

#include <QLabel>

#include "logic/clock.h"

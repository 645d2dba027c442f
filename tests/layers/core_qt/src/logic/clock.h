#pragma once

#include <QTime>

inline QTime Noon() {
    return QTime(12, 0);
}

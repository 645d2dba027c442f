#pragma once

inline int Rule() {
    return 1;
}

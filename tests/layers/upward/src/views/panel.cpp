#include "views/panel.h"

int PanelRule() {
    return Rule();
}

#pragma once

namespace qavo {

// The looks of the application, by command id. Those with a menu text are
// offered in the View menu; every id is accepted when read back.
struct LookDef {
    int id;
    const char* menu;  // nullptr: not in the menu
};

inline constexpr LookDef kLooks[] = {
    {205, nullptr},
    {206, nullptr},
    {207, nullptr},
    {208, nullptr},
    {209, nullptr},
    {210, "Visual Studio 2008 (&Default)"},
    {215, "Office 2007 (&Blue Style)"},
    {216, "Office 2007 (B&lack Style)"},
    {217, "Office 2007 (&Silver Style)"},
    {218, "Office 2007 (&Aqua Style)"},
    {219, "Win&dows 7"},
};

// Sets the application's style and palette for the look `id`.
void ApplyLook(int id);

}  // namespace qavo

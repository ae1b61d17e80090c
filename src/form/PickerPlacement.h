#pragma once

namespace vantorel {

struct PickerOrigin {
    int left;
    int top;
};

// Where the folder picker opens on a monitor: centred across it, its top a
// third of the spare height below the monitor's top. Both pickers place
// themselves by this rule; halves round to the even neighbour, like every
// rounding in the program.
PickerOrigin pickerOrigin(int monitorLeft, int monitorTop, int monitorWidth, int monitorHeight,
                          int dialogWidth, int dialogHeight);

}  // namespace vantorel

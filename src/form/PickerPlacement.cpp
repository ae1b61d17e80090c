#include "form/PickerPlacement.h"

#include "platform/TextRules.h"

namespace vantorel {

PickerOrigin pickerOrigin(int monitorLeft, int monitorTop, int monitorWidth, int monitorHeight,
                          int dialogWidth, int dialogHeight) {
    return {monitorLeft + roundHalfEven((monitorWidth - dialogWidth) / 2.0),
            monitorTop + roundHalfEven((monitorHeight - dialogHeight) / 3.0)};
}

}  // namespace vantorel

#include "themes/ThemedElements.h"

TThemedElementDetails ElementDetails(TThemedElement element, int value)
{
    if (value == 0 || value == 1)
        return TThemedElementDetails{element, 0, value + 1};
    const ThemedElementTable& table = ThemedElements[element];
    int first = 2;  // the first value of the part
    for (int part = 1; part <= table.PartCount && value >= first; ++part) {
        int states = table.States[part - 1];
        if (value < first + states)
            return TThemedElementDetails{element, part, value - first + 1};
        first += states;
    }
    return TThemedElementDetails{element, 0, 0};
}

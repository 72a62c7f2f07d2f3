// The value a row shows and the writing of a changed one. A row with a "get"
// (or "set") selector that its target answers asks the target; every other
// row goes through its pane's readPreferenceValue: and
// setPreferenceValue:specifier:, which panes may override. Values come from
// files the user or other tools may have written, so every reading here
// accepts any object and falls back instead of failing.
#pragma once

#include <Preferences/PSSpecifier.h>

#include <string>

namespace PS::rows {

// The row's value, or nil.
id readValue(id pane, Specifier* row);
void writeValue(id pane, Specifier* row, id value);

// Sends a row action to its target: with no argument when the selector takes
// none, else with the row (and nil for any further argument). Nothing
// happens when the target does not answer it.
void sendRowAction(id target, SEL action, Specifier* row);

// A Boolean of a number or a string ("YES", "1"), else NO.
bool boolOf(id value);
// A finite number of a number or a string, else the fallback.
double numberOf(id value, double fallback);
// A string or a number as text, else nil.
NS::String* textOf(id value);
// Whether two values name the same choice: equal objects, or a number and
// the string that writes it ("3" and 3), as lists written by hand mix them.
bool sameChoice(id a, id b);
// The title shown for the row's value: the title at the value's index in
// "validValues", else nil.
NS::String* titleForValue(Specifier* row, id value);

// The shortest decimal that reads back as the float: what a slider at 0.7
// stores is 0.7, not 0.699999988079071.
double shortestDecimal(float value);

}  // namespace PS::rows

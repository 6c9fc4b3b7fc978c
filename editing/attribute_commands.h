// What the attributes dialog does to the map: its colour buttons act on the
// selected classes, the item being built or the selected points, and OK
// gives the selected points the dialog's name, hint and looks.
#pragma once

#include "editing/map_editor.h"

namespace wayloom {

// Opening the dialog ("Attributes page", "&Show attributes"). Returns false,
// changing nothing, when nothing is being built and no class is selected on
// either tab. With a selected point of the set being built, its name and
// hint go into the dialog's boxes.
bool colour_button_click(map_editor& editor);

// The colour dialog was confirmed with `colour` for the area colour button:
// the selected classes of the Waypoints tab (their shapes with them, as
// map_document::recolour_class does), else the shape being built
// (colour and default colour), else the selected points of the set being
// built, else the set itself. Returns whether any of those took it; the
// dialog's area colour then becomes `colour` and the map is repainted.
bool area_colour_chosen(map_editor& editor, colour_value colour);
// The same for border colours.
bool border_colour_chosen(map_editor& editor, colour_value colour);

// OK: for each selected point of the set being built, an empty name box
// takes the point's name, else the point takes the cleaned box text; the
// same for the hint; then the dialog's marker, size, colours and show-name
// box. Rebuilds the set. Without a set being built nothing changes; the
// dialog hides in both cases.
edit_result ok_button_click(map_editor& editor);

// The dialog's marker, size and show-name box become what new points take.
void store_point_defaults(map_editor& editor);

} // namespace wayloom

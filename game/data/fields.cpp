// Field tables of the game's static structs (see fields.h); the templates
// live in the header, this unit anchors the library.
#include "game/data/fields.h"

// Simple definitions of routines that later parts of the game code own
// (see routines.h and game/flow/screens.h): each stays here only until its
// real definition is added to the library, and is then deleted from this
// file. (None are left.)

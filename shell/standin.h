// A stand-in MIDlet and canvas for the program until the game's own exist:
// the canvas runs a small frame loop on its own thread and paints the
// screen, so the window, the loop, input and presenting can be seen working.
#pragma once

// Makes the stand-in the MIDlet that the application starts.
void registerStandInMidlet();

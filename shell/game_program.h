// The game program's parts, put in place before the shell starts: the
// MIDlet the application creates, the game's libraries (flow, world and
// actors, behaviours, cross-promotion screen) and the device services.
// Called once per process, before WinMain.
#pragma once

void installGameProgram();

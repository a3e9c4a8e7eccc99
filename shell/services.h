// The device services the program plugs into the shell at start: the
// media players, the connection natives and the screen the HTTP wait animation draws on.
#pragma once

void installDeviceServices();

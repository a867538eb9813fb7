// Where the main window learns how to build the windows of the other rooms (explorer,
// comparison wizard). Free function; the factories are owned by the main window's hooks.
#pragma once

// Sets the main window's factories; the program calls it once, before start-up.
void RegistrarVentanas();

// The skin catalogue: the sorted names of the pictures in the install directory's skin folder.
#pragma once

// Rebuilds g_state.skinNames and g_state.skinCount from the folder, from scratch.
void ScanSkins();

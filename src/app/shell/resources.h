// The shell's compiled-in resources: button images, About pictures, the user guide.
#pragma once

// Registers them; the shell is a static library, so nothing does it by itself.
void InitShellResources();

// Registers the compiled-in resources of the static shell library.
#include "app/shell/resources.h"

#include <QtGlobal>

void InitShellResources() { Q_INIT_RESOURCE(polydrom); }

// Handlers whose behaviour is still to come; each is replaced where it is implemented.
#include "window/orvane_dlg.h"


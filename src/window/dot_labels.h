#pragma once

// The dot-label buffer moved to the core, where the medium checker measures headings with it.
#include "tasks/dot_labels.h"

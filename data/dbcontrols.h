#pragma once

// The data-bound controls, for a window that uses them all.
#include "datasetmodel.h"
#include "datasource.h"
#include "dbedits.h"
#include "dbgrid.h"
#include "dbnavigator.h"

#pragma once

#include "schedule/DataFileNames.h"
#include "search/model/SearchHit.h"

// A hit is reported as the kind of file it was found in: a page's search kind is its file kind.
DataFileNames::Kind fileKind(SearchPage page);
SearchPage searchPage(DataFileNames::Kind kind);
// The page's name in the results, as on its tab; empty for the grid.
QString searchPageName(SearchPage page);

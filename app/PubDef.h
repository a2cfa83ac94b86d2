#pragma once
// The dictionary's shared definitions: the word table with its lookup, and
// the word list text format with the list built into the program.

#include "AppPaths.h"
#include "DbPassword.h"
#include "WordList.h"
#include "WordTable.h"

#include "model/GameFile.h"

GameFile::~GameFile() = default; // File closes itself

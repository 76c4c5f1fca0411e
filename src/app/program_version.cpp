#include "app/program_version.h"

const char* const kProgramVersion = "1.42";
const char* const kProgramReleaseDate = "8 December 2026";
const char* const kProgramCaption = "Stonemill Ver 1.42";

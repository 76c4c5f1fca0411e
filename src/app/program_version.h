#pragma once
// The program's version as the caption and the about box show it.

extern const char* const kProgramVersion;     // "1.42"
extern const char* const kProgramReleaseDate; // as the about box shows it
extern const char* const kProgramCaption;     // "Stonemill Ver 1.42"

#pragma once
// Generated models for the benchmarks: a walled town and a tall tower.

#include <memory>
#include <vector>

#include "model/block.h"

using TStones = std::vector<std::unique_ptr<TBlock>>;

// A walled town of about `count` stones: rows of houses whose walls are laid
// from 2 x 1 bricks in staggered courses, each house under a ring of roof
// stones, in the order a builder would place them (course by course).
TStones MakeTown(int count);
// A tower of `count` stones stacked in courses of four around a hollow core.
TStones MakeTower(int count);
// A scene of `count` stones of every kind, general stones from the shipped
// part library included, laid out in a square of small building sites. The
// part library must be reachable through the program folder.
TStones MakeMixedScene(int count);
// The stones as the pointers that the sorting functions take.
std::vector<TBlock*> Pointers(const TStones& stones);

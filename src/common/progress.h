#pragma once
// Told during long work how much of it is done: a share from 0 to 1. It may be
// called from the thread the work runs on.

#include <functional>

using TShareProgress = std::function<void(double done)>;

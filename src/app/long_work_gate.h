#pragma once
// The gate long work of the core passes through: reading a model file,
// sorting the stones for a new view octant, breaking up a scene into its
// files. The window runs such work on a thread of its own while it keeps
// drawing itself; while it runs, the model must not change and no picture is
// drawn.

#include <functional>
#include <string>

#include "common/progress.h"

class TLongWorkGate {
public:
    using TLongWork = std::function<void(const TShareProgress& progress)>;
    using TRunner = std::function<void(const std::string& what, const TLongWork& work)>;

    // Runs long work and returns when it is done, raising what the work
    // raised; the work touches no state of the window. Without a runner the
    // work runs directly.
    TRunner OnLongWork;

    // Long work is running: pictures are drawn when it ends, by the command
    // that started it.
    bool Busy() const { return FBusy; }
    // Runs the work through the runner, or directly without one or inside
    // other long work.
    void Run(const std::string& what, const TLongWork& work);

private:
    bool FBusy = false;
};

#pragma once
// Threads kept waiting for work, so that work split across the processors
// many times a second (every picture drawn) does not start threads each time.

#include <functional>

// Runs work(0) .. work(count - 1) at the same time, work(0) on the calling
// thread and the others on waiting threads (started the first time they are
// needed), and returns when all are done, raising the first failure. Calls
// from several threads at once take turns.
void RunOnWorkers(int count, const std::function<void(int index)>& work);

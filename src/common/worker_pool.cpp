#include "common/worker_pool.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class TWorkerPool {
public:
    ~TWorkerPool() {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FStopping = true;
        }
        FStart.notify_all();
        for (std::thread& worker : FWorkers)
            worker.join();
    }

    void Run(int count, const std::function<void(int)>& work) {
        std::lock_guard<std::mutex> turn(FTurn);
        {
            std::lock_guard<std::mutex> lock(FMutex);
            while (static_cast<int>(FWorkers.size()) < count - 1) {
                const int index = static_cast<int>(FWorkers.size()) + 1;
                FWorkers.emplace_back([this, index] { Serve(index); });
            }
            FWork = &work;
            FCount = count;
            FPending = count - 1;
            FFailures.assign(static_cast<size_t>(count), nullptr);
            ++FGeneration;
        }
        FStart.notify_all();
        RunOne(0);
        std::unique_lock<std::mutex> lock(FMutex);
        FDone.wait(lock, [this] { return FPending == 0; });
        FWork = nullptr;
        for (const std::exception_ptr& failure : FFailures)
            if (failure)
                std::rethrow_exception(failure);
    }

private:
    void RunOne(int index) {
        try {
            (*FWork)(index);
        } catch (...) {
            std::lock_guard<std::mutex> lock(FMutex);
            FFailures[static_cast<size_t>(index)] = std::current_exception();
        }
    }

    void Serve(int index) {
        unsigned seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(FMutex);
                FStart.wait(lock, [&] { return FStopping || FGeneration != seen; });
                if (FStopping)
                    return;
                seen = FGeneration;
                if (index >= FCount)
                    continue; // not needed this time
            }
            RunOne(index);
            std::lock_guard<std::mutex> lock(FMutex);
            if (--FPending == 0)
                FDone.notify_one();
        }
    }

    std::mutex FTurn; // one Run at a time
    std::mutex FMutex;
    std::condition_variable FStart, FDone;
    std::vector<std::thread> FWorkers;
    const std::function<void(int)>* FWork = nullptr;
    int FCount = 0;
    int FPending = 0;
    unsigned FGeneration = 0;
    bool FStopping = false;
    std::vector<std::exception_ptr> FFailures;
};

TWorkerPool& Pool() {
    static TWorkerPool pool;
    return pool;
}

} // namespace

void RunOnWorkers(int count, const std::function<void(int)>& work) {
    if (count <= 1) {
        if (count == 1)
            work(0);
        return;
    }
    Pool().Run(count, work);
}

#pragma once

namespace tessafold {

// Starts a detached thread that runs routine(parameter). True when it started.
using WorkerRoutine = void (*)(void* parameter);
bool StartWorker(WorkerRoutine routine, void* parameter = nullptr);

}  // namespace tessafold

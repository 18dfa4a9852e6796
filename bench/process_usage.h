#pragma once
// What a running process has used so far, read from /proc.
#include <sys/types.h>

namespace windowbench {

// The CPU time all threads of a process have run, from the scheduler's
// statistics in nanoseconds: unlike the wall time it hardly depends on what
// else the machine is doing. -1 when the process is gone.
double cpuMilliseconds(pid_t pid);

// The peak resident memory (VmHWM) in KiB, -1 when it cannot be read.
long peakResidentKiB(pid_t pid);

} // namespace windowbench

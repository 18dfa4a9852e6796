#include "process_usage.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace windowbench {

double cpuMilliseconds(pid_t pid)
{
    std::error_code error;
    double total = 0;
    for (const auto &task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        double onCpuNs = 0;
        if (schedstat >> onCpuNs)
            total += onCpuNs / 1e6;
    }
    return error ? -1 : total;
}

long peakResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

} // namespace windowbench

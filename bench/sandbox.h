#pragma once
// Throwaway homes, and the programs started in them.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace windowbench {

namespace fs = std::filesystem;

// A folder of our own under a base folder, removed with everything in it.
struct TemporaryFolder {
    explicit TemporaryFolder(const fs::path &base);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;
    fs::path path;
};

// Where the throwaway folders go: homes on disk, runtime directories on a
// tmpfs where there is one, as a login session has them (/run/user/<uid>).
struct Places {
    fs::path homes;
    fs::path runtimes;
};

// The folders of one benchmark. It runs on the tests' private desktop
// (bench/run.sh), whose browser stand-in keeps whatever the program opens on
// the machine.
class Workspace {
public:
    Workspace();
    const Places &places() const { return m_places; }

private:
    TemporaryFolder m_homes;
    TemporaryFolder m_runtimes;
    Places m_places;
};

// A started program; killed and reaped at the latest when this goes.
class Child {
public:
    explicit Child(pid_t pid)
        : m_pid(pid)
    {
    }
    ~Child() { stop(); }
    Child(const Child &) = delete;
    Child &operator=(const Child &) = delete;

    pid_t pid() const { return m_pid; }
    void stop();

private:
    pid_t m_pid;
};

// A fresh home, configuration and runtime directory for one run; the
// settings file may be seeded from an earlier run.
class Sandbox {
public:
    Sandbox(const Places &places, const std::string &name, const fs::path &program, const fs::path &seedConfig);
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    fs::path home() const { return m_dir / "home"; }
    fs::path runtime() const { return m_runtime; }
    // Where the program keeps its setting: named after its executable.
    fs::path settingsFile() const { return home() / ".config" / m_settingsName / (m_settingsName.string() + ".conf"); }

    Child spawn(const fs::path &program) const;

private:
    fs::path m_dir;
    fs::path m_runtime;
    fs::path m_settingsName;
    std::vector<std::string> m_env;
};

} // namespace windowbench
